#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quillbeam {

// The names of the four message variable files, in message order.
inline constexpr std::array<std::u16string_view, 4> kVariableFileNames = {
    u"mytext1.txt", u"mytext2.txt", u"mytext3.txt", u"mytext4.txt"};

// The bytes of one message variable file: the fixed header lines, then the url and the message
// exactly as typed, in the single-byte encoding the file is stored in. Nothing follows the
// message. Its length is always 210 plus the UTF-16 units of url and message.
std::string BuildVariableFileText(std::u16string_view message, std::u16string_view url);

}  // namespace quillbeam
