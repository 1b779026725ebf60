#pragma once

#include <windows.h>

namespace quillbeam::win32 {

inline constexpr int kDefaultDpi = 96;

// The dots per inch `window` is shown at. The per-window calls come from newer systems, so they
// are looked up at run time; older ones give the system's DPI.
int WindowDpi(HWND window);

// The outer size of a window with `style` whose client area is `client`, at `dpi`.
SIZE WindowSizeFor(SIZE client, DWORD style, DWORD extendedStyle, int dpi);

// The system's message font (the font of dialogs and message boxes) at `dpi`.
LOGFONTW MessageFont(int dpi);

}  // namespace quillbeam::win32
