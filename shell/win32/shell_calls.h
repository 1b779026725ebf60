#pragma once

// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <functional>

namespace quillbeam::modAPI {

// The system calls the folder chooser makes: the shell's dialog and item lists, the memory blocks
// it hands out and frees, the message that selects the start folder, and the platform's answers.
// The program uses the real ones; tests give their own, to number every item list and block
// handed out, see where each goes and see each freed once, in ways the real shell cannot show.
// A real call whose library or export is missing answers as a failing call does: none, or FALSE.
struct ShellCalls {
    std::function<ITEMIDLIST*(BROWSEINFOA* info)> browseForFolder;             // SHBrowseForFolderA
    std::function<BOOL(const ITEMIDLIST* item, char* path)> pathFromItemList;  // ...IDListA
    std::function<BOOL(const ITEMIDLIST* item, wchar_t* path)> widePathFromItemList;  // ...W
    // shell32's export 162: a path (UTF-16 on NT, ANSI otherwise) to its item list.
    std::function<ITEMIDLIST*(const void* path)> pathToItemList;
    std::function<void(void* memory)> taskMemFree;  // CoTaskMemFree, for item lists
    std::function<HLOCAL(UINT flags, SIZE_T bytes)> localAlloc;
    std::function<HLOCAL(HLOCAL block)> localFree;
    std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)> sendMessage;
    std::function<BOOL(const char* path)> pathFileExists;     // PathFileExistsA
    std::function<BOOL(OSVERSIONINFOA* version)> getVersion;  // GetVersionExA
};
ShellCalls RealShellCalls();

}  // namespace quillbeam::modAPI
