#pragma once

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>

#include "unique_fd.h"

namespace quillbeam::native {

// A file on POSIX: a descriptor, reached by a UTF-8 path, and told apart from others by its device
// and inode numbers.
using NativeFile = UniqueFd;
using NativePath = std::string;
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The errno values the shared steps report themselves: for a write that took nothing and said
// nothing, and for a template file that is a folder.
inline constexpr std::int32_t kDiskFull = ENOSPC;
inline constexpr std::int32_t kIsFolder = EISDIR;

// How much a copy reads at a time when the kernel cannot copy by itself.
inline constexpr std::size_t kCopyBufferSize = 1 << 17;

// A signal came before the call did anything: the call is made again.
inline bool Interrupted(std::int32_t error) {
    return error == EINTR;
}
// Nothing is there to open.
inline bool NotFound(std::int32_t error) {
    return error == ENOENT;
}
// copy_file_range cannot copy between these two files (another file system, an older kernel).
inline bool NoKernelCopy(std::int32_t error) {
    return error == EXDEV || error == ENOSYS || error == EINVAL || error == EOPNOTSUPP;
}

}  // namespace quillbeam::native
