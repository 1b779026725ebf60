#include "package_format_reading.h"

#include <stdexcept>

namespace bannermovie {

std::string FormatText(std::u16string_view text) {
    std::string ascii;
    for (const char16_t c : text) {
        if (c > 0x7F) throw std::invalid_argument("the movie takes only ASCII from the format");
        ascii += static_cast<char>(c);
    }
    return ascii;
}

const FileMarkers& ReadingMarkers() {
    using namespace quillbeam::package_format;
    static const FileMarkers markers = [] {
        const auto pairStart = [](std::u16string_view name) {
            return FormatText(kLineBreak) + FormatText(kPairBoundary) + FormatText(name) +
                   FormatText(kValueStart);
        };
        return FileMarkers{
            .speed = pairStart(kSpeedName),
            .url = pairStart(kUrlName),
            .urlEnd =
                FormatText(kPairBoundary) + FormatText(kLineBreak) + FormatText(kCommentStart),
            .message = pairStart(kMessageName),
            .valueEnd = FormatText(kPairBoundary),
        };
    }();
    return markers;
}

}  // namespace bannermovie
