#pragma once

#include <windows.h>

#include "unique_resource.h"

namespace quillbeam::win32 {

// A window, destroyed with DestroyWindow when it goes. A window can also go first, closed by the
// user: whoever holds it then gives it up (Release) on WM_NCDESTROY, the window's last message.
using UniqueWindow = UniqueResource<NullableHandleTraits<HWND, &::DestroyWindow>>;

}  // namespace quillbeam::win32
