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

// An object selected into a device context for as long as this lives. It holds the object the
// selection replaced and puts that back when it goes, so that the context is left as it was
// found and the selected object can be deleted or selected elsewhere.
struct SelectionTraits {
    using Handle = HGDIOBJ;  // the object replaced
    HDC dc = nullptr;
    static HGDIOBJ Invalid() noexcept { return nullptr; }
    static bool IsValid(HGDIOBJ replaced) noexcept { return replaced != nullptr; }
    void Free(HGDIOBJ replaced) const noexcept { ::SelectObject(dc, replaced); }
};
using SelectedObject = UniqueResource<SelectionTraits>;
inline SelectedObject Select(HDC dc, HGDIOBJ object) {
    return SelectedObject(::SelectObject(dc, object), {dc});
}

}  // namespace quillbeam::win32
