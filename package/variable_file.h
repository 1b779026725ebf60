#pragma once

#include <string>
#include <string_view>

namespace quillbeam {

// The bytes of one message variable file, laid out as package_format.h says: the fixed lines,
// then the url and the message exactly as typed, in the single-byte encoding the file is stored
// in. Nothing follows the message. It holds one byte for each UTF-16 unit of url and message
// beside the fixed lines, so its length is that of the file for an empty url and message plus
// the units of both.
std::string BuildVariableFileText(std::u16string_view message, std::u16string_view url);

}  // namespace quillbeam
