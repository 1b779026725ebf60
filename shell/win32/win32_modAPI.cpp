#include "win32_modAPI.h"

#include <array>
#include <utility>

#include "ansi_text.h"

namespace quillbeam::modAPI {
namespace {

constexpr std::size_t kPathBufferBytes = 260;
constexpr UINT kZeroFilledFixed = 0x40;  // LMEM_FIXED | LMEM_ZEROINIT
constexpr DWORD kVersionInfoSize = 148;  // the size of OSVERSIONINFOA

// The calls of the dialog this thread is showing. The dialog hands its callback nothing but the
// start folder's text, which it must receive as it is, so the callback finds them here.
thread_local const ShellCalls* shownDialogCalls = nullptr;

// Makes `calls` those of the dialog shown while it lives.
class ShowingDialog {
  public:
    explicit ShowingDialog(const ShellCalls& calls) noexcept
        : previous_(std::exchange(shownDialogCalls, &calls)) {}
    ShowingDialog(const ShowingDialog&) = delete;
    ShowingDialog& operator=(const ShowingDialog&) = delete;
    ~ShowingDialog() { shownDialogCalls = previous_; }

  private:
    const ShellCalls* previous_;
};

// The chosen folder's path. The ANSI form is the shell's plain one; when it lost characters that
// the code page lacks, the wide form keeps the folder the user chose, so the path still exists.
std::u16string PathOf(const ShellCalls& calls, const ITEMIDLIST* item) {
    std::array<char, kPathBufferBytes> ansi{};
    if (!calls.pathFromItemList(item, ansi.data())) return {};
    std::u16string path = FromAnsi(std::string_view(ansi.data()));
    std::array<wchar_t, MAX_PATH> wide{};
    if (calls.widePathFromItemList(item, wide.data())) {
        const std::u16string widePath(reinterpret_cast<const char16_t*>(wide.data()));
        if (widePath != path) path = widePath;
    }
    return path;
}

}  // namespace

std::u16string ChooseFolder(HWND owner, std::u16string_view title, std::u16string_view startFolder,
                            const ChooserSwitches& switches, const ShellCalls& calls) {
    DialogDescription dialog(owner, title, startFolder, switches, calls);
    const ShowingDialog showing(calls);
    const ItemList chosen = HeldItemList(calls, calls.browseForFolder(&dialog.info()));
    return chosen ? PathOf(calls, chosen.get()) : std::u16string();
}

DialogDescription::DialogDescription(HWND owner, std::u16string_view title,
                                     std::u16string_view startFolder,
                                     const ChooserSwitches& switches, const ShellCalls& calls)
    : title_(ToAnsi(title)) {
    info_.hwndOwner = owner;
    info_.lpszTitle = title_.c_str();
    info_.ulFlags = BrowseFlags(switches);

    // Held until the dialog has closed, then released: the dialog only borrows its root.
    if (switches.rootAtStart) root_ = PathToItemList(startFolder, calls);

    if (PathExists(startFolder, calls)) {
        const std::string start = ToAnsi(startFolder);
        startBlock_ = HeldLocalMemory(calls, calls.localAlloc(kZeroFilledFixed, start.size() + 1));
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
        if (shownDialogCalls != nullptr) {
            shownDialogCalls->sendMessage(dialog, BFFM_SETSELECTIONA, ~WPARAM{0}, data);
        } else {
            SendMessageA(dialog, BFFM_SETSELECTIONA, ~WPARAM{0}, data);
        }
    }
    return 0;
}

ItemList PathToItemList(std::u16string_view path, const ShellCalls& calls) {
    if (IsNtPlatform(calls)) {
        const std::u16string wide(path);
        return HeldItemList(calls, calls.pathToItemList(wide.c_str()));
    }
    const std::string ansi = ToAnsi(path);
    return HeldItemList(calls, calls.pathToItemList(ansi.c_str()));
}

bool PathExists(std::u16string_view path, const ShellCalls& calls) {
    const std::string ansi = ToAnsi(path);
    return calls.pathFileExists(ansi.c_str()) != FALSE;
}

bool IsNtPlatform(const ShellCalls& calls) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = kVersionInfoSize;
    return calls.getVersion(&version) == 1 && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace quillbeam::modAPI
