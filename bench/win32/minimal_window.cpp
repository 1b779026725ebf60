// The bare baseline for the Windows program's start-up and memory: one empty top-level window
// with the same client area, built the same way (static, same compiler and flags), no controls
// and no manifest.
#include "bench_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int show) {
    using namespace quillbeam::bench;
    return ShowAndRun(MakeBenchWindow(instance, L"MinimalWindow"), show);
}
