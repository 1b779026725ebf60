#pragma once

#include <windows.h>

#include "window_layout.h"

namespace quillbeam::win32 {

// Makes `link`, a label or picture that opens the page of `control`, a link to screen readers:
// it answers them with a link's role and state, the link's name and description, the page's
// address as its value, and a default action ("Jump") that clicks it. Everything else comes from
// the system's own description of the control. `control` must outlive the window.
void MakeAccessibleLink(HWND link, const layout::Control& control);

}  // namespace quillbeam::win32
