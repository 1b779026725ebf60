#include "win32_message_edit.h"

#include <commctrl.h>

#include <optional>

#include "subclass.h"

namespace quillbeam::win32 {
namespace {

bool IsFocusKey(const MSG* message) {
    return message != nullptr && message->message == WM_KEYDOWN &&
           (message->wParam == VK_TAB || message->wParam == VK_ESCAPE);
}

std::optional<LRESULT> HandleMessageEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                         DWORD_PTR /*data*/) noexcept {
    switch (message) {
        case WM_GETDLGCODE: {
            // Leaves Tab and Escape to the window's keyboard interface (IsDialogMessage).
            LRESULT code = DefSubclassProc(edit, message, wParam, lParam);
            if (IsFocusKey(reinterpret_cast<const MSG*>(lParam))) {
                code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
            }
            return code;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) return 0;
            break;
        case WM_CHAR:
            if (wParam == VK_ESCAPE || wParam == VK_TAB) return 0;
            break;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace

void MakeMessageEdit(HWND edit) {
    Subclass<HandleMessageEdit>(edit);
}

}  // namespace quillbeam::win32
