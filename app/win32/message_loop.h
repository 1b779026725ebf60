#pragma once

#include <windows.h>

namespace quillbeam::win32 {

// Hands one message on as the program's loop does: keys first to `window`'s keyboard interface
// (Tab and Shift+Tab move the focus; Enter and Escape reach no default or cancel button, so they
// do nothing), everything else to its window.
void Deliver(HWND window, MSG& message);

}  // namespace quillbeam::win32
