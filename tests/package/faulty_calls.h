#pragma once

#include <cstddef>

#include "layer_fault.h"
#include "native_file_platform.h"

// The platform's side of the file layer table; each platform's folder defines it.

// Which of a row's outcomes is this platform's: 0 for POSIX, 1 for Windows.
extern const std::size_t kPlatform;

// The platform's real calls, with those that `fault` names made to behave as it says.
quillbeam::NativeCalls CallsWith(Fault fault);
