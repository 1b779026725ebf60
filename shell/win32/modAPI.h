#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "browse_flags.h"
#include "shell_memory.h"

// The folder chooser and the small platform routines it relies on, as one procedure module: the
// shell's own folder dialog on this platform.
namespace quillbeam::modAPI {

// Lets the user choose a folder in the shell's dialog, modal to `owner` and titled `title`. An
// existing `startFolder` is selected when the dialog opens, and with `rootAtStart` the tree is
// rooted there. Returns the chosen folder's full path, or the empty text when the user cancels or
// the item has no file-system path.
std::u16string ChooseFolder(HWND owner, std::u16string_view title, std::u16string_view startFolder,
                            const ChooserSwitches& switches);

// Called by the dialog: selects the start folder (`data`, its ANSI text) once the dialog is up.
// Ignores every other message and always returns 0.
int CALLBACK ChooserCallback(HWND dialog, UINT message, LPARAM value, LPARAM data) noexcept;

// The shell's item list for `path`, or none when the shell cannot parse it.
ItemList PathToItemList(std::u16string_view path);

// Yes when `path` names an existing file or folder. The empty text never exists.
bool PathExists(std::u16string_view path);

// Yes on the NT family of Windows.
bool IsNtPlatform();

}  // namespace quillbeam::modAPI
