#pragma once

// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "system_library.h"

// The shell's functions the program calls, from shell32 and shlwapi loaded when first used (Browse,
// a link) instead of at every start. Each is named, and typed by its own declaration.
namespace quillbeam::modAPI {

SystemLibrary& Shell();          // shell32
SystemLibrary& PathUtilities();  // shlwapi

template <typename Declared>
Declared* ShellFunction(const char* name) {
    return Shell().Find<Declared>(name);
}
template <typename Declared>
Declared* PathFunction(const char* name) {
    return PathUtilities().Find<Declared>(name);
}

// ShellExecuteW, as the shell loaded on first use has it; SE_ERR_DLLNOTFOUND when it cannot be
// loaded.
HINSTANCE ShellExecuteOnFirstUse(HWND owner, const wchar_t* verb, const wchar_t* file,
                                 const wchar_t* parameters, const wchar_t* folder, int show);

}  // namespace quillbeam::modAPI
