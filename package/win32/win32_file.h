#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "unique_handle.h"

namespace quillbeam::native {

// A file on Windows: a kernel handle, reached by a UTF-16 path for the wide-character calls, and
// told apart from others by its volume's serial number and its index on that volume.
using NativeFile = UniqueHandle;
using NativePath = std::wstring;
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The error codes the shared steps report themselves: for a write that took nothing and said
// nothing, and for a template file that is a folder (what opening one as a file gives).
inline constexpr std::int32_t kDiskFull = ERROR_DISK_FULL;
inline constexpr std::int32_t kIsFolder = ERROR_ACCESS_DENIED;

// How much a copy reads at a time.
inline constexpr std::size_t kCopyBufferSize = 1 << 20;

// No call on Windows is cut short by a signal.
inline bool Interrupted(std::int32_t /*error*/) {
    return false;
}
// Nothing is there to open: neither the file nor, further up, its folder.
inline bool NotFound(std::int32_t error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
// What CopyInKernel always answers: no call copies between two open handles, so the bytes go
// through the buffer.
inline bool NoKernelCopy(std::int32_t error) {
    return error == ERROR_NOT_SUPPORTED;
}

}  // namespace quillbeam::native
