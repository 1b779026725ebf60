#pragma once

#include <windows.h>

#include "unique_resource.h"

namespace quillbeam {

// A kernel handle such as CreateFileW's. Dropped, it is closed quietly; Release() hands it to a
// caller that wants to check the close itself.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() noexcept { return nullptr; }
    // CreateFileW fails with INVALID_HANDLE_VALUE, most other calls with a null handle.
    static bool IsValid(HANDLE handle) noexcept {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
    void Free(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

}  // namespace quillbeam
