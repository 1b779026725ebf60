#include "message_loop.h"

namespace quillbeam::win32 {

void Deliver(HWND window, MSG& message) {
    if (window != nullptr && IsDialogMessageW(window, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace quillbeam::win32
