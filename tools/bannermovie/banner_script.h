#pragma once

#include <cstdint>
#include <string>

namespace bannermovie {

// Instance names the scripts and the movie's layout share.
inline constexpr const char* kBackdropName = "backdrop";
inline constexpr const char* kMessageFieldName = "messageField";
inline constexpr const char* kCaretName = "caret";
inline constexpr const char* kMeasureFieldName = "measureField";
// The dark copies of the message field that outline its letters: outline1 to outline4.
inline constexpr std::uint16_t kOutlineCopyCount = 4;
std::string OutlineCopyName(std::uint16_t index);

// Where the message field's text area lies on the stage, in pixels.
struct TextArea {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
};

// The first frame's script: loads the backdrop picture, then reads mytext1.txt to mytext4.txt in
// turn, forever, typing each file's message one letter every `speed` milliseconds, with a caret
// after the last letter that blinks while a finished message is held.
std::string BuildFrameScript(const TextArea& area);

// The click-through: opens the current file's address in a new window.
std::string BuildClickScript();

}  // namespace bannermovie
