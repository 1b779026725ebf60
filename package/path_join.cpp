#include "path_join.h"

namespace quillbeam {

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append(1, kPathSeparator).append(name);
    return path;
}

}  // namespace quillbeam
