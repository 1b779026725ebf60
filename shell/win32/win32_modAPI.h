#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "browse_flags.h"
#include "shell_calls.h"
#include "shell_memory.h"

// The folder chooser and the small platform routines it relies on, as one procedure module: the
// shell's own folder dialog on this platform.
namespace quillbeam::modAPI {

// Every routine here reaches the system through `calls`: the real ones unless a test gives its own.

// Lets the user choose a folder in the shell's dialog, modal to `owner` and titled `title`. An
// existing `startFolder` is selected when the dialog opens, and with `rootAtStart` the tree is
// rooted there. Returns the chosen folder's full path, or the empty text when the user cancels or
// the item has no file-system path. Every item list and block it was handed is freed, once, before
// it returns.
std::u16string ChooseFolder(HWND owner, std::u16string_view title, std::u16string_view startFolder,
                            const ChooserSwitches& switches,
                            const ShellCalls& calls = RealShellCalls());

// What ChooseFolder hands the dialog: the shell's description (BROWSEINFOA) for its arguments,
// with the ANSI title, the root item list and the start folder's block that it points at, held
// until the description goes. Only an existing start folder reaches the dialog: then the
// description carries ChooserCallback with the folder's ANSI text, and with `rootAtStart` the
// folder's item list as its root; otherwise it has no callback, no data and no root.
class DialogDescription {
  public:
    DialogDescription(HWND owner, std::u16string_view title, std::u16string_view startFolder,
                      const ChooserSwitches& switches, const ShellCalls& calls = RealShellCalls());
    DialogDescription(const DialogDescription&) = delete;
    DialogDescription& operator=(const DialogDescription&) = delete;

    BROWSEINFOA& info() noexcept { return info_; }

  private:
    std::string title_;
    ItemList root_;
    LocalMemory startBlock_;
    BROWSEINFOA info_{};
};

// Called by the dialog: selects the start folder (`data`, its ANSI text) once the dialog is up,
// through the calls of the ChooseFolder showing it (outside one, the real SendMessageA). Ignores
// every other message, and what the selection answers, and always returns 0.
int CALLBACK ChooserCallback(HWND dialog, UINT message, LPARAM value, LPARAM data) noexcept;

// The shell's item list for `path`, or none when the shell cannot parse it.
ItemList PathToItemList(std::u16string_view path, const ShellCalls& calls = RealShellCalls());

// Yes when `path` names an existing file or folder. The empty text never exists.
bool PathExists(std::u16string_view path, const ShellCalls& calls = RealShellCalls());

// Yes on the NT family of Windows: the version call answers exactly 1, and NT.
bool IsNtPlatform(const ShellCalls& calls = RealShellCalls());

}  // namespace quillbeam::modAPI
