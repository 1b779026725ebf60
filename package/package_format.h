#pragma once

// The package's format, as its files' builders write it and the banner movie reads it: the
// movie's generator includes this header too, so that a change here reaches both.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quillbeam::package_format {

// The page that embeds the movie.
inline constexpr std::u16string_view kEmbeddingPageName = u"htmlcode.html";
// The files beside the page. The variable files hold the messages, one each, in message order.
inline constexpr std::array<std::u16string_view, 4> kVariableFileNames = {
    u"mytext1.txt", u"mytext2.txt", u"mytext3.txt", u"mytext4.txt"};
inline constexpr std::u16string_view kMovieName = u"bannerloop2.swf";
inline constexpr std::u16string_view kPictureName = u"mypic.jpg";
// Our player for browsers without Flash, beside the movie in the template: it plays the same
// files on the page. A template of the user's own may lack it.
inline constexpr std::u16string_view kPlayerScriptName = u"bannerplayer.js";

// The movie's stage, in pixels: the page shows the movie at this size, the picture fills it.
inline constexpr std::int32_t kStageWidth = 468;
inline constexpr std::int32_t kStageHeight = 100;

// A variable file is form data: name=value pairs, each opened and closed by '&', one to a line,
// with comment lines between them. Lines end in CR LF; the message comes last and runs to the
// end of the file, so it may hold line breaks, '&' and '=' of its own.
inline constexpr std::u16string_view kLineBreak = u"\r\n";
inline constexpr std::u16string_view kPairBoundary = u"&";
inline constexpr std::u16string_view kValueStart = u"=";
inline constexpr std::u16string_view kCommentStart = u"//";

// The pairs' names and fixed values. `loaded` tells a player that reads the file as form data that
// all of it has come; `speed` is the typing interval in milliseconds, larger for slower.
inline constexpr std::u16string_view kLoadedName = u"loaded";
inline constexpr std::u16string_view kLoadedValue = u"yes";
inline constexpr std::u16string_view kSpeedName = u"speed";
inline constexpr std::int32_t kDefaultSpeedMs = 50;
inline constexpr std::u16string_view kUrlName = u"theUrl";
inline constexpr std::u16string_view kMessageName = u"txt";

// The comment lines' texts, without their "//".
inline constexpr std::u16string_view kDoNotEditComment = u"Please do not edit this line.";
inline constexpr std::array<std::u16string_view, 2> kSpeedComments = {
    u"The variable \u201Cspeed\u201D is actually the interval time in ms.",
    u"Therefore the greater \u201Cspeed\u201D is, the slower the typing speed will be."};

// What a pair of a variable file carries.
enum class PairValue {
    kLoaded,   // kLoadedValue, in every file
    kSpeed,    // kDefaultSpeedMs in decimal digits, in every file
    kUrl,      // the address, as typed
    kMessage,  // the message, as typed
};

// One line of a variable file: a pair, "&name=value&", or a comment line, "//text".
struct VariableFileLine {
    std::u16string_view text;                       // the pair's name, or the comment's text
    std::optional<PairValue> value = std::nullopt;  // what the pair carries; none on a comment line
};

// A variable file's lines, in file order: the core writes them so, and the banner movie reads
// them so. The last, the message's pair, has no closing '&' and no line break: the message runs
// to the end of the file.
inline constexpr std::array<VariableFileLine, 7> kVariableFileLines = {{
    {.text = kLoadedName, .value = PairValue::kLoaded},
    {.text = kDoNotEditComment},
    {.text = kSpeedName, .value = PairValue::kSpeed},
    {.text = kUrlName, .value = PairValue::kUrl},
    {.text = kSpeedComments[0]},
    {.text = kSpeedComments[1]},
    {.text = kMessageName, .value = PairValue::kMessage},
}};

// The place in kVariableFileLines of the pair that carries `value`.
constexpr std::size_t LineOf(PairValue value) {
    std::size_t place = 0;
    for (const VariableFileLine& line : kVariableFileLines) {
        if (line.value == value) break;
        ++place;
    }
    return place;
}
static_assert(kVariableFileLines.back().value == PairValue::kMessage,
              "the message runs to the end of the file");

}  // namespace quillbeam::package_format
