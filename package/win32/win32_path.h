#pragma once

#include <string>
#include <string_view>

namespace quillbeam {

// What a path means to the wide-character calls, worked out once per file.
struct Win32Path {
    // The path to hand to the W functions. From MAX_PATH characters on it is made full and given
    // the \\?\ prefix, which lifts the MAX_PATH limit; shorter paths pass unchanged, so that they
    // keep the ordinary Win32 rules.
    std::wstring wide;
    // Whether the last name is a device name such as NUL, CON or COM1, which the system opens
    // in any folder and with any extension ("out\nul.txt").
    bool device = false;
};
Win32Path ToWin32Path(std::u16string_view path);

// Whether a character Windows forbids in names (<>:"|?* and the controls) stands after the
// path's root. The system rejects most of them itself, but a colon would name an alternate data
// stream, so "out:x\mytext1.txt" or "a:b" could be written where no one will find it.
bool HasForbiddenCharacter(std::u16string_view path);

}  // namespace quillbeam
