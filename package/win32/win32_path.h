#pragma once

#include <string>
#include <string_view>

namespace quillbeam {

// The wide path to hand to the W functions. A path of MAX_PATH characters or more is made full
// and given the \\?\ prefix, which lifts the MAX_PATH limit; shorter paths pass unchanged, so
// that they keep the ordinary Win32 rules.
std::wstring Win32Path(std::u16string_view path);

// Whether a character Windows forbids in names (<>:"|?* and the controls) stands after the
// path's root. The system rejects most of them itself, but a colon would name an alternate data
// stream, so "out:x\mytext1.txt" or "a:b" could be written where no one will find it.
bool HasForbiddenCharacter(std::u16string_view path);

}  // namespace quillbeam
