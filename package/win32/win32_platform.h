#pragma once

#include "native_file_platform.h"

namespace quillbeam {

// Files through the Win32 wide-character calls, paths as UTF-16; failures carry GetLastError().
using Win32FilePlatform = NativeFilePlatform;

}  // namespace quillbeam
