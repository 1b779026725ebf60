#pragma once

// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <optional>

namespace quillbeam::win32 {

// What a subclass does with one message of its window: the answer, or none to hand the message on
// to the window's own procedure. It is called from the system's code, so it lets no exception out.
using SubclassHandler = std::optional<LRESULT> (*)(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam, DWORD_PTR data) noexcept;

namespace subclass_detail {

template <SubclassHandler Handler>
LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                           DWORD_PTR data) noexcept {
    if (message == WM_NCDESTROY) {
        // The window's last message: the subclass goes with it.
        RemoveWindowSubclass(window, Procedure<Handler>, id);
    } else if (const std::optional<LRESULT> answer =
                   Handler(window, message, wParam, lParam, data)) {
        return *answer;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace subclass_detail

// Puts `Handler` in front of `window`'s own procedure for as long as the window lives: it sees each
// message first, with `data`, and the subclass removes itself at the window's last message.
template <SubclassHandler Handler>
void Subclass(HWND window, DWORD_PTR data = 0) {
    SetWindowSubclass(window, subclass_detail::Procedure<Handler>, 0, data);
}

}  // namespace quillbeam::win32
