#include "module_folder.h"

namespace quillbeam {

std::u16string FolderOfModulePath(std::u16string_view modulePath) {
    const std::size_t last = modulePath.find_last_of(u"\\/");
    if (last == std::u16string_view::npos) return {};
    std::u16string folder(modulePath.substr(0, last));
    // "C:" alone names the drive's current folder, not its root.
    if (folder.size() == 2 && folder[1] == u':') folder.push_back(u'\\');
    return folder;
}

}  // namespace quillbeam
