#pragma once

#include <windows.h>

#include "unique_resource.h"

namespace quillbeam::win32 {

// A GDI object (a font, a bitmap, a region), deleted when it goes.
template <typename Object>
using GdiObject = UniqueResource<NullableHandleTraits<Object, &::DeleteObject>>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// A device context borrowed from a window (GetDC), given back with ReleaseDC.
struct WindowDcTraits {
    using Handle = HDC;
    HWND window = nullptr;
    static HDC Invalid() noexcept { return nullptr; }
    static bool IsValid(HDC dc) noexcept { return dc != nullptr; }
    void Free(HDC dc) const noexcept { ::ReleaseDC(window, dc); }
};
using WindowDc = UniqueResource<WindowDcTraits>;
inline WindowDc GetWindowDc(HWND window) {
    return WindowDc(::GetDC(window), {window});
}

// A memory device context made for drawing off screen (CreateCompatibleDC), deleted with DeleteDC.
using MemoryDc = UniqueResource<NullableHandleTraits<HDC, &::DeleteDC>>;

}  // namespace quillbeam::win32
