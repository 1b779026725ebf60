// The fair baseline for the Windows program's start-up and memory: the least a window of the
// program's kind needs. Under the program's manifest (visual styles, per-monitor DPI) it has one
// label and one edit box in the system's message font, which loads the common controls, their
// themes and the font, as any window with a text box does.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "bench_window.h"
#include "gdi_object.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int show) {
    using namespace quillbeam::bench;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    const quillbeam::win32::Font font(CreateFontIndirectW(&metrics.lfMessageFont));

    HWND window = MakeBenchWindow(instance, L"EditBoxWindow");
    HWND label = CreateWindowExW(0, L"STATIC", L"Output folder:", WS_CHILD | WS_VISIBLE | SS_LEFT,
                                 16, 16, 346, 20, window, nullptr, instance, nullptr);
    HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 16, 40, 346, 24,
                               window, nullptr, instance, nullptr);
    for (HWND control : {label, box}) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    }
    SetFocus(box);
    return ShowAndRun(window, show);
}
