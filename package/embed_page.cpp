#include "embed_page.h"

#include <initializer_list>

#include "package_format.h"
#include "single_byte.h"

namespace quillbeam {
namespace {

// The identifiers the XHTML 1.0 standard publishes for its Transitional DTD and its namespace.
constexpr std::string_view kXhtmlTransitionalDtd =
    "http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd";
constexpr std::string_view kXhtmlNamespace = "http://www.w3.org/1999/xhtml";

std::string WebAddress(std::string_view host, std::string_view path) {
    std::string address = "http://";
    address.append(host).append(path);
    return address;
}

}  // namespace

std::string BuildEmbeddingPageText() {
    const std::string cabinet = WebAddress(page_hosts::kPlayerDownload,
                                           "/pub/shockwave/cabs/flash/swflash.cab#version=7,0,0,0");
    const std::string playerPage = WebAddress(page_hosts::kPlayerWeb, "/go/getflashplayer");
    const std::string defaultLink = WebAddress(page_hosts::kDefaultLink, "");
    const std::string movie = ToSingleByte(package_format::kMovieName);
    // The player's element is named for the movie, without its extension.
    const std::string movieId = movie.substr(0, movie.rfind('.'));
    const std::string stageSize = "width='" + std::to_string(package_format::kStageWidth) +
                                  "' height='" + std::to_string(package_format::kStageHeight) + "'";

    const std::initializer_list<std::string> lines = {
        "<!DOCTYPE html PUBLIC '-//W3C//DTD XHTML 1.0 Transitional//EN' '" +
            std::string(kXhtmlTransitionalDtd) + "'>",
        "<html xmlns='" + std::string(kXhtmlNamespace) + "' xml:lang='en' lang='en'>",
        "<head>",
        "<meta http-equiv='Content-Type' content='text/html; charset=iso-8859-1'/>",
        "<title>Quillbeam Sample</title>",
        "</head>",
        "<body bgcolor='#000000'>",
        "<object classid='clsid:d27cdb6e-ae6d-11cf-96b8-444553540000' codebase='" + cabinet + "' " +
            stageSize + " id='" + movieId + "' align='middle'>",
        "<param name='allowScriptAccess' value='sameDomain'/>",
        "<param name='movie' value='" + movie + "' />",
        "<param name='quality' value='high' />",
        "<param name='bgcolor' value='#000000' />",
        "<param name='" + ToSingleByte(package_format::kUrlName) + "' value='" + defaultLink +
            "' />",
        "<embed src='" + movie + "' quality='high' bgcolor='#000000' " + stageSize + " name='" +
            movieId +
            "' align='middle' allowScriptAccess='sameDomain' "
            "type='application/x-shockwave-flash' pluginspage='" +
            playerPage + "' />",
        "</object></body>",
        "</html>",
    };

    std::string page;
    for (const std::string& line : lines) {
        if (!page.empty()) page += "\r\n";
        page += line;
    }
    return page;
}

}  // namespace quillbeam
