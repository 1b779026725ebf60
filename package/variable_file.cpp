#include "variable_file.h"

#include <string>

#include "package_format.h"
#include "single_byte.h"

namespace quillbeam {

std::string BuildVariableFileText(std::u16string_view message, std::u16string_view url) {
    using namespace package_format;
    const std::string speedDigits = std::to_string(kDefaultSpeedMs);
    const std::u16string speed(speedDigits.begin(), speedDigits.end());
    const auto valueOf = [&](PairValue value) -> std::u16string_view {
        switch (value) {
            case PairValue::kLoaded:
                return kLoadedValue;
            case PairValue::kSpeed:
                return speed;
            case PairValue::kUrl:
                return url;
            case PairValue::kMessage:
                return message;
        }
        return {};
    };

    std::u16string text;
    for (const VariableFileLine& line : kVariableFileLines) {
        if (!line.value) {
            text.append(kCommentStart).append(line.text).append(kLineBreak);
            continue;
        }
        text.append(kPairBoundary)
            .append(line.text)
            .append(kValueStart)
            .append(valueOf(*line.value));
        if (*line.value != PairValue::kMessage) text.append(kPairBoundary).append(kLineBreak);
    }
    return ToSingleByte(text);
}

}  // namespace quillbeam
