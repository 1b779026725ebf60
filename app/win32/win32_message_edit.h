#pragma once

#include <windows.h>

namespace quillbeam::win32 {

// Makes `edit`, a multi-line edit control, behave as the window's message boxes: Enter breaks the
// line with CR LF, while Tab moves the focus and Escape does nothing, as in every other box.
// (Left alone, a multi-line edit takes Tab into its text and closes its window on Escape.)
void MakeMessageEdit(HWND edit);

}  // namespace quillbeam::win32
