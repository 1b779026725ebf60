#pragma once

#include <string>
#include <string_view>

namespace quillbeam {

// The bytes of one message variable file, laid out as package_format.h says: the fixed lines,
// then the url and the message exactly as typed, in the single-byte encoding the file is stored
// in. Nothing follows the message. Its length is always 210 plus the UTF-16 units of url and
// message.
std::string BuildVariableFileText(std::u16string_view message, std::u16string_view url);

}  // namespace quillbeam
