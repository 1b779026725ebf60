#pragma once

#include <windows.h>

#include <functional>

namespace quillbeam {

// The system calls through which files are read, written, finished and told apart. The program uses
// the real ones; tests replace some to make them fail as a failing device or a full disk would,
// or to answer as files on another volume would, in ways Windows cannot be asked for on demand.
// A replacement that fails sets the last error, as the real call does.
struct Win32Calls {
    std::function<BOOL(HANDLE file, void* data, DWORD size, DWORD* got)> readFile;
    std::function<BOOL(HANDLE file, const void* data, DWORD size, DWORD* written)> writeFile;
    std::function<BOOL(HANDLE handle)> closeHandle;
    std::function<BOOL(HANDLE file, BY_HANDLE_FILE_INFORMATION* info)> getFileInformation;
};
Win32Calls RealWin32Calls();

using NativeCalls = Win32Calls;

}  // namespace quillbeam
