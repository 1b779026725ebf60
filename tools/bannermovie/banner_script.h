#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "package_format.h"

namespace bannermovie {

// Instance names the scripts and the movie's layout share.
inline constexpr const char* kBackdropName = "backdrop";
inline constexpr const char* kCaretName = "caret";
// Never shown: the whole message is laid out in the message field to fit it and read its lines,
// the line being typed in the line field (laid out as the message) to see where it breaks, and a
// line in the measuring field to find its height.
inline constexpr const char* kMessageFieldName = "messageField";
inline constexpr const char* kLineFieldName = "lineField";
inline constexpr const char* kMeasureFieldName = "measureField";
// The text shown: three layers alike, the lines above the one being typed, that line's finished
// words, and the word being typed after them, so that a letter typed redraws its word alone. Each
// holds the letters and, under them, copies of them in the halo's colour that outline them:
// outline1 to outline4.
inline constexpr const char* kEarlierLinesName = "earlierLines";
inline constexpr const char* kLastLineName = "lastLine";
inline constexpr const char* kLastWordName = "lastWord";
inline constexpr const char* kLettersName = "letters";
inline constexpr std::uint16_t kOutlineCopyCount = 4;
std::string OutlineCopyName(std::uint16_t index);

// The font sizes a message may be shown at, in pixels, largest first: each message takes the
// largest at which all of it fits. The top is the fields' own size. Each step down gives the
// lines a tenth or more letters, or the banner a line more: 3 lines at 20 and 18, 4 at 16 and 14,
// 5 at 12. 12 pixels, the floor, is the smallest size commonly held legible on a screen, and its
// letters still keep their small counters (in e, a and s) open inside the one-pixel halo; the
// next size that would gain a line, 10, closes them.
inline constexpr std::array<std::int32_t, 5> kTextSizes{20, 18, 16, 14, 12};

// The caret's bar, in pixels down a line at the ladder's top size, from the ascenders to the
// descenders; the script scales it with the size.
inline constexpr std::int32_t kCaretTop = kTextSizes.front() * 3 / 10;
inline constexpr std::int32_t kCaretBottom = kTextSizes.front() * 7 / 5;

// Letters and their halo: light letters on a dark halo over dark pictures, swapped over light ones.
inline constexpr std::uint32_t kLightInk = 0xFFFFFF;
inline constexpr std::uint32_t kDarkInk = 0x000000;

// The stage, in pixels: the picture fills it.
using quillbeam::package_format::kStageHeight;
using quillbeam::package_format::kStageWidth;

// Where the message field lies on the stage, in pixels.
struct TextArea {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// The first frame's script: loads the backdrop picture, then reads mytext1.txt to mytext4.txt in
// turn, forever, typing each file's message one letter every `speed` milliseconds at the size
// that fits it, with a caret after the last letter that blinks while a finished message is held.
// Blank messages are passed over; when all four are blank the banner rests on its picture.
std::string BuildFrameScript(const TextArea& area);

// The click-through: opens the current file's address in a new window.
std::string BuildClickScript();

}  // namespace bannermovie
