#pragma once

#include <string_view>

#include "native_file_platform.h"

namespace quillbeam {

// The files of the system the build is for, with every message dropped: for runs that no one
// watches, such as tests, benchmarks and tools.
struct QuietPlatform : NativeFilePlatform {
    using NativeFilePlatform::NativeFilePlatform;
    void ShowMessage(std::u16string_view, std::u16string_view) override {}
};

}  // namespace quillbeam
