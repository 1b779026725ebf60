#pragma once

#include <string>
#include <string_view>

namespace quillbeam {

// The folder part of a module's full path: everything before the last separator, without a
// trailing separator except at a drive root ("C:\app\q.exe" gives "C:\app", "C:\q.exe" "C:\").
std::u16string FolderOfModulePath(std::u16string_view modulePath);

}  // namespace quillbeam
