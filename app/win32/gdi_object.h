#pragma once

#include <windows.h>

#include "unique_resource.h"

namespace quillbeam::win32 {

// A GDI object (a font, a bitmap, a region), deleted when it goes.
template <typename Object>
struct GdiObjectTraits {
    using Handle = Object;
    static Object Invalid() noexcept { return nullptr; }
    static bool IsValid(Object object) noexcept { return object != nullptr; }
    void Release(Object object) const noexcept { ::DeleteObject(object); }
};
using Font = UniqueResource<GdiObjectTraits<HFONT>>;
using Bitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using Region = UniqueResource<GdiObjectTraits<HRGN>>;

// A device context borrowed from a window (GetDC), given back with ReleaseDC.
struct WindowDcTraits {
    using Handle = HDC;
    HWND window = nullptr;
    static HDC Invalid() noexcept { return nullptr; }
    static bool IsValid(HDC dc) noexcept { return dc != nullptr; }
    void Release(HDC dc) const noexcept { ::ReleaseDC(window, dc); }
};
using WindowDc = UniqueResource<WindowDcTraits>;
inline WindowDc GetWindowDc(HWND window) {
    return WindowDc(::GetDC(window), {window});
}

// A memory device context made for drawing off screen (CreateCompatibleDC), deleted with DeleteDC.
struct MemoryDcTraits {
    using Handle = HDC;
    static HDC Invalid() noexcept { return nullptr; }
    static bool IsValid(HDC dc) noexcept { return dc != nullptr; }
    void Release(HDC dc) const noexcept { ::DeleteDC(dc); }
};
using MemoryDc = UniqueResource<MemoryDcTraits>;

}  // namespace quillbeam::win32
