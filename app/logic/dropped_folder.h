#pragma once

#include <optional>
#include <string>
#include <vector>

// What a drop from the file manager onto the folder box puts there.
namespace quillbeam::window {

// One dropped item as the file system has it: a local path and what lies there. An item with no
// local path (a web address), or whose path leads nowhere, is Other.
struct DroppedItem {
    enum class Kind { Folder, File, Other };
    std::u16string path;
    Kind kind = Kind::Other;
};

// The folder box's new text: a folder's own path, or the folder a file lies in (a root keeping
// its separator: "/", "C:\"). Nothing for several items or for anything else, which leaves the
// box as it was.
std::optional<std::u16string> FolderFromDrop(const std::vector<DroppedItem>& items);

}  // namespace quillbeam::window
