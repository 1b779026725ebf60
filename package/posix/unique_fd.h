#pragma once

#include <unistd.h>

#include "unique_resource.h"

namespace quillbeam {

// A POSIX file descriptor. Dropped, it is closed quietly; Release() hands it to a caller that
// wants to check the close itself.
struct FileDescriptorTraits {
    using Handle = int;
    static int Invalid() noexcept { return -1; }
    static bool IsValid(int fd) noexcept { return fd >= 0; }
    void Free(int fd) const noexcept { ::close(fd); }
};
using UniqueFd = UniqueResource<FileDescriptorTraits>;

}  // namespace quillbeam
