#include "dropped_folder.h"

#include "path_separator.h"

namespace quillbeam::window {
namespace {

// Everything before the last separator; a root keeps its own ("/x" gives "/", "C:\x" "C:\").
std::u16string FolderOf(std::u16string_view path) {
    // Windows takes "/" as a separator too.
    const std::u16string_view separators =
        kPathSeparator == u'/' ? std::u16string_view(u"/") : std::u16string_view(u"\\/");
    const std::size_t last = path.find_last_of(separators);
    if (last == std::u16string_view::npos) return {};
    const std::u16string_view folder = path.substr(0, last);
    const bool root = folder.empty() || (folder.size() == 2 && folder[1] == u':');
    return std::u16string(root ? path.substr(0, last + 1) : folder);
}

}  // namespace

std::optional<std::u16string> FolderFromDrop(const std::vector<DroppedItem>& items) {
    if (items.size() != 1) return std::nullopt;
    const DroppedItem& item = items.front();
    switch (item.kind) {
        case DroppedItem::Kind::Folder:
            return item.path;
        case DroppedItem::Kind::File:
            if (std::u16string folder = FolderOf(item.path); !folder.empty()) return folder;
            return std::nullopt;
        case DroppedItem::Kind::Other:
            break;
    }
    return std::nullopt;
}

}  // namespace quillbeam::window
