#pragma once

#include <cstdint>

// The folder chooser's switches and the shell's folder-browsing flags they give, shared by every
// platform's chooser.
namespace quillbeam::modAPI {

// The shell's folder-browsing flags. The Windows dialog takes them as they are; other dialogs map
// the switches they come from to their own options.
namespace browse_flag {
inline constexpr std::uint32_t kReturnOnlyFileSystemFolders = 0x1;
inline constexpr std::uint32_t kDontGoBelowDomain = 0x2;
inline constexpr std::uint32_t kStatusText = 0x4;
inline constexpr std::uint32_t kEditBox = 0x10;
inline constexpr std::uint32_t kValidate = 0x20;
inline constexpr std::uint32_t kNewDialogStyle = 0x40;
inline constexpr std::uint32_t kIncludeFiles = 0x4000;
}  // namespace browse_flag

// The five yes/no switches of ChooseFolder; all off by default.
struct ChooserSwitches {
    bool rootAtStart = false;        // keep the dialog inside an existing start folder
    bool newStyle = false;           // the resizable dialog that can make new folders
    bool statusAndValidate = false;  // a status line and validation of typed names
    bool editBox = false;            // a box for typing the folder name
    bool includeFiles = false;       // files are listed as well as folders
};

// The dialog flags for `switches`: 3, or 67 in the new style, plus 4 and 32 for status and
// validation, 16 for the edit box and 16384 for files. Root at start sets no flag.
std::uint32_t BrowseFlags(const ChooserSwitches& switches);

}  // namespace quillbeam::modAPI
