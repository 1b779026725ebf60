#pragma once

#include <string>

namespace bannermovie {

// Instance names the scripts and the movie's layout share.
inline constexpr const char* kBackdropName = "backdrop";
inline constexpr const char* kMessageFieldName = "messageField";

// The first frame's script: loads the backdrop picture, then reads mytext1.txt to mytext4.txt in
// turn, forever, typing each file's message one letter every `speed` milliseconds.
std::string BuildFrameScript();

// The click-through: opens the current file's address in a new window.
std::string BuildClickScript();

}  // namespace bannermovie
