#include "embed_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using quillbeam::BuildEmbeddingPageText;

namespace {

std::vector<std::string> SplitOnCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
        lines.push_back(text.substr(start, at - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

TEST(EmbeddingPage, HasTheSixteenLinesExactly) {
    const std::vector<std::string> lines = SplitOnCrLf(BuildEmbeddingPageText());
    const std::vector<std::string> expected = {
        "<!DOCTYPE html PUBLIC '-//W3C//DTD XHTML 1.0 Transitional//EN' "
        "'http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd'>",
        "<html xmlns='http://www.w3.org/1999/xhtml' xml:lang='en' lang='en'>",
        "<head>",
        "<meta http-equiv='Content-Type' content='text/html; charset=iso-8859-1'/>",
        "<title>Quillbeam Sample</title>",
        "</head>",
        "<body bgcolor='#000000'>",
        "<object classid='clsid:d27cdb6e-ae6d-11cf-96b8-444553540000' "
        "codebase='http://download.macromedia.com/pub/shockwave/cabs/flash/"
        "swflash.cab#version=7,0,0,0' width='468' height='100' id='bannerloop2' align='middle'>",
        "<param name='allowScriptAccess' value='sameDomain'/>",
        "<param name='movie' value='bannerloop2.swf' />",
        "<param name='quality' value='high' />",
        "<param name='bgcolor' value='#000000' />",
        "<param name='theUrl' value='http://www.wikipedia.org' />",
        "<embed src='bannerloop2.swf' quality='high' bgcolor='#000000' width='468' height='100' "
        "name='bannerloop2' align='middle' allowScriptAccess='sameDomain' "
        "type='application/x-shockwave-flash' "
        "pluginspage='http://www.macromedia.com/go/getflashplayer' />",
        "</object></body>",
        "</html>",
    };
    EXPECT_EQ(lines, expected);
}

TEST(EmbeddingPage, LineBreaksAndEndingAreExact) {
    const std::string page = BuildEmbeddingPageText();
    std::size_t crlf = 0;
    for (std::size_t at = 0; (at = page.find("\r\n", at)) != std::string::npos; at += 2) ++crlf;
    EXPECT_EQ(crlf, 15u);
    EXPECT_EQ(page.find_first_of('\n'), page.find("\r\n") + 1) << "no bare LF";
    EXPECT_TRUE(page.ends_with("</html>")) << "nothing follows the page";
    EXPECT_NE(page.find("\r\n</object></body>\r\n"), std::string::npos);
    for (const char c : page) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "ASCII only";
}

TEST(EmbeddingPage, IsTheSameEveryTime) {
    EXPECT_EQ(BuildEmbeddingPageText(), BuildEmbeddingPageText());
}
