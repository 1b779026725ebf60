#pragma once

// The package's format as the banner reads it: the format's text in the movie's strings, and how
// a variable file is taken apart. The rules are written once, over the few operations they need,
// so that the movie's script and a test in C++ apply the very same ones.
#include <cstdint>
#include <string>
#include <string_view>

#include "package_format.h"

namespace bannermovie {

// A text of the format, as the movie's strings hold it; every such text is ASCII.
std::string FormatText(std::u16string_view text);

// What stands before each value of a variable file (or, for the address, after it).
struct FileMarkers {
    std::string speed;    // the speed pair's start, on its own line
    std::string url;      // the address pair's start, on its own line
    std::string urlEnd;   // the address pair's end, where the comment lines begin
    std::string message;  // the message pair's start, on its own line
    std::string valueEnd;
};
const FileMarkers& ReadingMarkers();

template <typename Flag, typename Text>
struct FileValues {
    Flag missing;  // a marker is not there: the text is not a variable file
    Text speed;    // as written, not yet a number
    Text url;
    Text message;
};

// Finds the values in a variable file's text by its markers, each searched for after the one
// before. `ops` gives indexOf(text, marker[, from]), substring(text, from, to), substr(text,
// from) as ActionScript's, and Local(name, value), which keeps a place found.
template <typename Ops, typename Text>
auto LocateValues(const Ops& ops, const Text& text) {
    const FileMarkers& markers = ReadingMarkers();
    const auto length = [](const std::string& marker) {
        return static_cast<std::int32_t>(marker.size());
    };
    const auto speedAt = ops.Local("speedAt", ops.IndexOf(text, markers.speed));
    const auto urlAt = ops.Local("urlAt", ops.IndexOf(text, markers.url, speedAt));
    // The address ends where the comment lines begin: an address may itself hold "&".
    const auto urlEnd = ops.Local("urlEnd", ops.IndexOf(text, markers.urlEnd, urlAt));
    // The message follows the first message marker after the comment lines.
    const auto messageAt = ops.Local("messageAt", ops.IndexOf(text, markers.message, urlEnd));
    const auto missing = (speedAt < 0 || urlAt < 0) || (urlEnd < 0 || messageAt < 0);
    const auto speedFrom = speedAt + length(markers.speed);
    return FileValues<decltype(missing), Text>{
        missing, ops.Substring(text, speedFrom, ops.IndexOf(text, markers.valueEnd, speedFrom)),
        ops.Substring(text, urlAt + length(markers.url), urlEnd),
        ops.Substr(text, messageAt + length(markers.message))};
}

}  // namespace bannermovie
