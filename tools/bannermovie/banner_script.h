#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "banner_rules.h"

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

// The first frame's script: loads the backdrop picture, then reads mytext1.txt to mytext4.txt in
// turn, forever, typing each file's message one letter every `speed` milliseconds at the size
// that fits it, with a caret after the last letter that blinks while a finished message is held.
// Blank messages are passed over; when all four are blank the banner rests on its picture.
std::string BuildFrameScript(const TextArea& area);

// The click-through: opens the current file's address in a new window.
std::string BuildClickScript();

}  // namespace bannermovie
