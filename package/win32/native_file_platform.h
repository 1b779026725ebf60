#pragma once

#include "win32_platform.h"

namespace quillbeam {

// The file layer of the platform being built, for code that writes real packages on any platform.
using NativeFilePlatform = Win32FilePlatform;

}  // namespace quillbeam
