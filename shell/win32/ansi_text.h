#pragma once

#include <string>
#include <string_view>

namespace quillbeam::modAPI {

// Text in the system's ANSI code page, for the shell's ANSI calls, and back. A character the
// code page lacks becomes its default character.
std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view text);

}  // namespace quillbeam::modAPI
