#pragma once

#include <string>
#include <string_view>

namespace quillbeam {

// Conversions between the program's UTF-16 texts and the UTF-8 the file system and messages use.
// A lone surrogate or a malformed UTF-8 sequence becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

}  // namespace quillbeam
