#pragma once

#include <windows.h>

namespace quillbeam::win32 {

// Makes `edit`, a one-line edit control that accepts dropped files (WS_EX_ACCEPTFILES), the
// window's folder box. A folder dropped from the file manager takes the place of its text, as
// Browse would give it; a dropped file gives the folder it lies in. A drop of several items, or
// of anything that is neither a folder nor a file, leaves the text as it was.
void MakeFolderEdit(HWND edit);

}  // namespace quillbeam::win32
