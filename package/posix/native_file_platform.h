#pragma once

#include "posix_platform.h"

namespace quillbeam {

// The file layer of the platform being built, for code that writes real packages on any platform.
using NativeFilePlatform = PosixFilePlatform;

}  // namespace quillbeam
