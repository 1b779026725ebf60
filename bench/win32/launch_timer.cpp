// launch_timer RUNS PROGRAM.exe: starts a window program RUNS times and reports, per run, the
// time from CreateProcess until the program has shown its window and waits for input
// (WaitForInputIdle and a visible window), and its peak working set up to then; then closes its
// windows and waits for it to end. Prints one line per run: "<milliseconds> <peak KiB>".
// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <string>

#include "unique_handle.h"

namespace {

BOOL CALLBACK CloseWindow(HWND window, LPARAM /*data*/) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

BOOL CALLBACK FindVisible(HWND window, LPARAM found) {
    if (!IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

// The program may wait for input before its window exists (WaitForInputIdle alone can return
// early), so this also waits for a visible window of its main thread, then for it to be idle
// again: painted and ready.
bool WaitUntilShown(const PROCESS_INFORMATION& process) {
    for (int tries = 0; tries < 60000; ++tries) {
        bool found = false;
        EnumThreadWindows(process.dwThreadId, FindVisible, reinterpret_cast<LPARAM>(&found));
        if (found) return WaitForInputIdle(process.hProcess, 60000) == 0;
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) return false;
    }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: launch_timer RUNS PROGRAM.exe\n");
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    std::wstring command = std::wstring(L"\"") + argv[2] + L"\"";
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    for (int run = 0; run < runs; ++run) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        LARGE_INTEGER start{};
        LARGE_INTEGER shown{};
        QueryPerformanceCounter(&start);
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            std::fprintf(stderr, "cannot start the program (%lu)\n", GetLastError());
            return 1;
        }
        const quillbeam::UniqueHandle thread(process.hThread);
        const quillbeam::UniqueHandle program(process.hProcess);
        WaitForInputIdle(process.hProcess, 60000);
        if (!WaitUntilShown(process)) {
            std::fprintf(stderr, "the program showed no window\n");
            return 1;
        }
        QueryPerformanceCounter(&shown);
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof(memory);
        GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory));
        EnumThreadWindows(process.dwThreadId, CloseWindow, 0);
        WaitForSingleObject(process.hProcess, 60000);
        const double milliseconds = 1000.0 * static_cast<double>(shown.QuadPart - start.QuadPart) /
                                    static_cast<double>(frequency.QuadPart);
        std::printf("%.2f %llu\n", milliseconds,
                    static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024));
    }
    return 0;
}
