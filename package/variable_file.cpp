#include "variable_file.h"

#include <string>

#include "package_format.h"
#include "single_byte.h"

namespace quillbeam {

std::string BuildVariableFileText(std::u16string_view message, std::u16string_view url) {
    using namespace package_format;
    const std::string speedDigits = std::to_string(kDefaultSpeedMs);

    std::u16string text;
    const auto openPair = [&](std::u16string_view name) {
        text.append(kPairBoundary).append(name).append(kValueStart);
    };
    const auto closePair = [&] { text.append(kPairBoundary).append(kLineBreak); };
    const auto comment = [&](std::u16string_view line) {
        text.append(kCommentStart).append(line).append(kLineBreak);
    };

    openPair(kLoadedName);
    text.append(kLoadedValue);
    closePair();
    comment(kDoNotEditComment);
    openPair(kSpeedName);
    text.append(speedDigits.begin(), speedDigits.end());
    closePair();
    openPair(kUrlName);
    text.append(url);
    closePair();
    for (const std::u16string_view line : kSpeedComments) comment(line);
    openPair(kMessageName);
    text.append(message);
    return ToSingleByte(text);
}

}  // namespace quillbeam
