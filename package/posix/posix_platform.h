#pragma once

#include "native_file_platform.h"

namespace quillbeam {

// Files through POSIX calls, paths as UTF-8; failures carry errno.
using PosixFilePlatform = NativeFilePlatform;

}  // namespace quillbeam
