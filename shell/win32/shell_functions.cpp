#include "shell_functions.h"

namespace quillbeam::modAPI {

SystemLibrary& Shell() {
    static SystemLibrary library(L"shell32.dll");
    return library;
}

SystemLibrary& PathUtilities() {
    static SystemLibrary library(L"shlwapi.dll");
    return library;
}

HINSTANCE ShellExecuteOnFirstUse(HWND owner, const wchar_t* verb, const wchar_t* file,
                                 const wchar_t* parameters, const wchar_t* folder, int show) {
    const auto shellExecute = ShellFunction<decltype(ShellExecuteW)>("ShellExecuteW");
    if (shellExecute == nullptr) return reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
    return shellExecute(owner, verb, file, parameters, folder, show);
}

}  // namespace quillbeam::modAPI
