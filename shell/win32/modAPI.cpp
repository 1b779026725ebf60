#include "modAPI.h"

#include <shlwapi.h>

#include <array>
#include <cstring>

#include "ansi_text.h"

namespace quillbeam::modAPI {
namespace {

constexpr std::size_t kPathBufferBytes = 260;
constexpr UINT kZeroFilledFixed = 0x40;  // LMEM_FIXED | LMEM_ZEROINIT
constexpr DWORD kVersionInfoSize = 148;  // the size of OSVERSIONINFOA

// shell32's export 162 takes a path (UTF-16 on NT, ANSI otherwise) and returns its item list.
using PathToItemListFunction = ITEMIDLIST*(WINAPI*)(const void* path);

PathToItemListFunction ShellPathToItemList() {
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (shell == nullptr) return nullptr;
    // GetProcAddress hands back a generic function pointer whatever the export's signature.
    return reinterpret_cast<PathToItemListFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell, MAKEINTRESOURCEA(162))));
}

// The chosen folder's path. The ANSI form is the shell's plain one; when it lost characters that
// the code page lacks, the wide form keeps the folder the user chose, so the path still exists.
std::u16string PathOf(const ITEMIDLIST* item) {
    std::array<char, kPathBufferBytes> ansi{};
    if (!SHGetPathFromIDListA(item, ansi.data())) return {};
    std::u16string path = FromAnsi(std::string_view(ansi.data()));
    std::array<wchar_t, MAX_PATH> wide{};
    if (SHGetPathFromIDListW(item, wide.data())) {
        const std::u16string widePath(reinterpret_cast<const char16_t*>(wide.data()));
        if (widePath != path) path = widePath;
    }
    return path;
}

}  // namespace

std::u16string ChooseFolder(HWND owner, std::u16string_view title, std::u16string_view startFolder,
                            const ChooserSwitches& switches) {
    std::u16string result;
    const std::string ansiTitle = ToAnsi(title);
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = ansiTitle.c_str();
    info.ulFlags = BrowseFlags(switches);

    // Held until the dialog has closed, then released: the dialog only borrows its root.
    ItemList root;
    if (switches.rootAtStart) root = PathToItemList(startFolder);

    LocalBlock startBlock;
    if (PathExists(startFolder)) {
        const std::string start = ToAnsi(startFolder);
        startBlock.reset(LocalAlloc(kZeroFilledFixed, start.size() + 1));
        if (startBlock) {
            RtlMoveMemory(startBlock.get(), start.c_str(), start.size() + 1);
            info.pidlRoot = root.get();
            info.lpfn = ChooserCallback;
            info.lParam = reinterpret_cast<LPARAM>(startBlock.get());
        }
    }

    const ItemList chosen(SHBrowseForFolderA(&info));
    if (chosen) result = PathOf(chosen.get());
    return result;
}

int CALLBACK ChooserCallback(HWND dialog, UINT message, LPARAM /*value*/, LPARAM data) noexcept {
    if (message == BFFM_INITIALIZED) {
        // The switch that says the data is a path: all bits set. A failure is ignored.
        SendMessageA(dialog, BFFM_SETSELECTIONA, ~WPARAM{0}, data);
    }
    return 0;
}

ItemList PathToItemList(std::u16string_view path) {
    const PathToItemListFunction toItemList = ShellPathToItemList();
    if (toItemList == nullptr) return {};
    if (IsNtPlatform()) {
        const std::u16string wide(path);
        return ItemList(toItemList(wide.c_str()));
    }
    const std::string ansi = ToAnsi(path);
    return ItemList(toItemList(ansi.c_str()));
}

bool PathExists(std::u16string_view path) {
    const std::string ansi = ToAnsi(path);
    return PathFileExistsA(ansi.c_str()) != FALSE;
}

bool IsNtPlatform() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = kVersionInfoSize;
    return GetVersionExA(&version) == 1 && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace quillbeam::modAPI
