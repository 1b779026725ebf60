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

namespace {

using quillbeam::package_format::kVariableFileLines;
using quillbeam::package_format::LineOf;
using quillbeam::package_format::PairValue;

// LocateValues looks for each value after the one before it, each at the start of a line of its
// own, and for the address's end at the start of the line after it.
static_assert(0 < LineOf(PairValue::kSpeed) &&
              LineOf(PairValue::kSpeed) < LineOf(PairValue::kUrl) &&
              LineOf(PairValue::kUrl) + 1 < LineOf(PairValue::kMessage));

// The start of `line` as it stands in the file, right after the line before it.
std::string LineStart(const quillbeam::package_format::VariableFileLine& line) {
    using namespace quillbeam::package_format;
    const std::string start =
        line.value ? FormatText(kPairBoundary) + FormatText(line.text) + FormatText(kValueStart)
                   : FormatText(kCommentStart);
    return FormatText(kLineBreak) + start;
}

}  // namespace

const FileMarkers& ReadingMarkers() {
    using quillbeam::package_format::kPairBoundary;
    static const FileMarkers markers = [] {
        const auto pairStart = [](PairValue value) {
            return LineStart(kVariableFileLines[LineOf(value)]);
        };
        return FileMarkers{
            .speed = pairStart(PairValue::kSpeed),
            .url = pairStart(PairValue::kUrl),
            .urlEnd = FormatText(kPairBoundary) +
                      LineStart(kVariableFileLines[LineOf(PairValue::kUrl) + 1]),
            .message = pairStart(PairValue::kMessage),
            .valueEnd = FormatText(kPairBoundary),
        };
    }();
    return markers;
}

}  // namespace bannermovie
