#include "shell_calls.h"

#include <shlwapi.h>

#include "shell_functions.h"

namespace quillbeam::modAPI {
namespace {

using PathToItemListFunction = ITEMIDLIST* WINAPI(const void* path);

// The export `name` of a library loaded on first use, called with the arguments it is given; or
// `missing`, what a failing call answers, when the library or the export cannot be had.
template <typename Declared>
auto LoadedCall(SystemLibrary& (*library)(), const char* name, auto missing) {
    return [=](auto... arguments) {
        auto* const function = library().Find<Declared>(name);
        return function != nullptr ? function(arguments...) : missing;
    };
}

}  // namespace

ShellCalls RealShellCalls() {
    constexpr ITEMIDLIST* kNoItemList = nullptr;
    return {
        .browseForFolder =
            LoadedCall<decltype(SHBrowseForFolderA)>(Shell, "SHBrowseForFolderA", kNoItemList),
        .pathFromItemList =
            LoadedCall<decltype(SHGetPathFromIDListA)>(Shell, "SHGetPathFromIDListA", FALSE),
        .widePathFromItemList =
            LoadedCall<decltype(SHGetPathFromIDListW)>(Shell, "SHGetPathFromIDListW", FALSE),
        .pathToItemList =
            LoadedCall<PathToItemListFunction>(Shell, MAKEINTRESOURCEA(162), kNoItemList),
        .taskMemFree = ::CoTaskMemFree,
        .localAlloc = ::LocalAlloc,
        .localFree = ::LocalFree,
        .sendMessage = ::SendMessageA,
        .pathFileExists =
            LoadedCall<decltype(PathFileExistsA)>(PathUtilities, "PathFileExistsA", FALSE),
        .getVersion = ::GetVersionExA,
    };
}

}  // namespace quillbeam::modAPI
