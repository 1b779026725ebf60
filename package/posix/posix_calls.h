#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <functional>

namespace quillbeam {

// The system calls through which files are read, written, finished, copied and told apart. The
// program uses the real ones; tests replace some to make them fail as a failing device or a full
// quota would, or to answer as files on another device would, in ways the kernel cannot be asked
// for on demand. A replacement that fails sets errno, as the real call does.
struct PosixCalls {
    std::function<ssize_t(int fd, void* data, std::size_t size)> read;
    std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
    std::function<int(int fd)> close;
    std::function<ssize_t(int from, int to, std::size_t size)> copyFileRange;
    std::function<int(int fd, struct stat* info)> fstat;
};
PosixCalls RealPosixCalls();

using NativeCalls = PosixCalls;

}  // namespace quillbeam
