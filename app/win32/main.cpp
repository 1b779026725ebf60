// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <exception>

#include "com_apartment.h"
#include "generate_command.h"
#include "message_boxes.h"
#include "message_loop.h"
#include "win32_main_window.h"

using quillbeam::win32::MainWindow;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int show) {
    try {
        // The shell's folder dialog needs a single-threaded apartment on this, the only thread.
        const quillbeam::win32::ComApartment apartment;
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);

        MainWindow window(instance);
        window.setOnDestroyed([] { PostQuitMessage(0); });
        ShowWindow(window.handle(), show);
        UpdateWindow(window.handle());

        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            quillbeam::win32::Deliver(window.handle(), message);
        }
        return static_cast<int>(message.wParam);
    } catch (const std::exception& failure) {
        quillbeam::win32::ShowFailureReport(
            MessageBoxW, nullptr,
            quillbeam::window::FailureReportText(quillbeam::FileFailure(0, failure.what())));
        return 1;
    }
}
