#include "variable_file.h"

#include "single_byte.h"

namespace quillbeam {
namespace {

// The movie reads name=value pairs separated by '&'; the comment lines between them are ignored.
constexpr std::u16string_view kHead =
    u"&loaded=yes&\r\n"
    u"//Please do not edit this line.\r\n"
    u"&speed=50&\r\n"
    u"&theUrl=";
constexpr std::u16string_view kAfterUrl =
    u"&\r\n"
    u"//The variable \u201Cspeed\u201D is actually the interval time in ms.\r\n"
    u"//Therefore the greater \u201Cspeed\u201D is, the slower the typing speed will be.\r\n"
    u"&txt=";

}  // namespace

std::string BuildVariableFileText(std::u16string_view message, std::u16string_view url) {
    std::string text;
    text.reserve(kHead.size() + url.size() + kAfterUrl.size() + message.size());
    AppendSingleByte(text, kHead);
    AppendSingleByte(text, url);
    AppendSingleByte(text, kAfterUrl);
    AppendSingleByte(text, message);
    return text;
}

}  // namespace quillbeam
