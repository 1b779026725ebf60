#include "modAPI.h"

#include <shlwapi.h>

#include <array>
#include <cstring>

#include "ansi_text.h"
#include "shell_functions.h"

namespace quillbeam::modAPI {
namespace {

constexpr std::size_t kPathBufferBytes = 260;
constexpr UINT kZeroFilledFixed = 0x40;  // LMEM_FIXED | LMEM_ZEROINIT
constexpr DWORD kVersionInfoSize = 148;  // the size of OSVERSIONINFOA

// shell32's export 162 takes a path (UTF-16 on NT, ANSI otherwise) and returns its item list.
using PathToItemListFunction = ITEMIDLIST* WINAPI(const void* path);

// The chosen folder's path. The ANSI form is the shell's plain one; when it lost characters that
// the code page lacks, the wide form keeps the folder the user chose, so the path still exists.
std::u16string PathOf(const ITEMIDLIST* item) {
    std::array<char, kPathBufferBytes> ansi{};
    const auto pathFromItem = ShellFunction<decltype(SHGetPathFromIDListA)>("SHGetPathFromIDListA");
    if (pathFromItem == nullptr || !pathFromItem(item, ansi.data())) return {};
    std::u16string path = FromAnsi(std::string_view(ansi.data()));
    std::array<wchar_t, MAX_PATH> wide{};
    const auto widePathFromItem =
        ShellFunction<decltype(SHGetPathFromIDListW)>("SHGetPathFromIDListW");
    if (widePathFromItem != nullptr && widePathFromItem(item, wide.data())) {
        const std::u16string widePath(reinterpret_cast<const char16_t*>(wide.data()));
        if (widePath != path) path = widePath;
    }
    return path;
}

}  // namespace

std::u16string ChooseFolder(HWND owner, std::u16string_view title, std::u16string_view startFolder,
                            const ChooserSwitches& switches) {
    const auto browse = ShellFunction<decltype(SHBrowseForFolderA)>("SHBrowseForFolderA");
    if (browse == nullptr) return {};
    DialogDescription dialog(owner, title, startFolder, switches);
    const ItemList chosen(browse(&dialog.info()));
    return chosen ? PathOf(chosen.get()) : std::u16string();
}

DialogDescription::DialogDescription(HWND owner, std::u16string_view title,
                                     std::u16string_view startFolder,
                                     const ChooserSwitches& switches)
    : title_(ToAnsi(title)) {
    info_.hwndOwner = owner;
    info_.lpszTitle = title_.c_str();
    info_.ulFlags = BrowseFlags(switches);

    // Held until the dialog has closed, then released: the dialog only borrows its root.
    if (switches.rootAtStart) root_ = PathToItemList(startFolder);

    if (PathExists(startFolder)) {
        const std::string start = ToAnsi(startFolder);
        startBlock_ = LocalBlock<>(LocalAlloc(kZeroFilledFixed, start.size() + 1));
        if (startBlock_) {
            RtlMoveMemory(startBlock_.get(), start.c_str(), start.size() + 1);
            info_.pidlRoot = root_.get();
            info_.lpfn = ChooserCallback;
            info_.lParam = reinterpret_cast<LPARAM>(startBlock_.get());
        }
    }
}

int CALLBACK ChooserCallback(HWND dialog, UINT message, LPARAM /*value*/, LPARAM data) noexcept {
    if (message == BFFM_INITIALIZED) {
        // The switch that says the data is a path: all bits set. A failure is ignored.
        SendMessageA(dialog, BFFM_SETSELECTIONA, ~WPARAM{0}, data);
    }
    return 0;
}

ItemList PathToItemList(std::u16string_view path) {
    const auto toItemList = ShellFunction<PathToItemListFunction>(MAKEINTRESOURCEA(162));
    if (toItemList == nullptr) return {};
    if (IsNtPlatform()) {
        const std::u16string wide(path);
        return ItemList(toItemList(wide.c_str()));
    }
    const std::string ansi = ToAnsi(path);
    return ItemList(toItemList(ansi.c_str()));
}

bool PathExists(std::u16string_view path) {
    const auto pathFileExists = PathFunction<decltype(PathFileExistsA)>("PathFileExistsA");
    const std::string ansi = ToAnsi(path);
    return pathFileExists != nullptr && pathFileExists(ansi.c_str()) != FALSE;
}

bool IsNtPlatform() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = kVersionInfoSize;
    return GetVersionExA(&version) == 1 && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace quillbeam::modAPI
