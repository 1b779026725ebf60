#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <utility>

#include "package_platform.h"

namespace quillbeam {

// The system calls through which files are written, finished, copied and told apart. The program
// uses the real ones; tests replace some to make them fail as a failing device or a full quota
// would, or to answer as files on another device would, in ways the kernel cannot be asked for
// on demand.
struct PosixCalls {
    std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
    std::function<int(int fd)> close;
    std::function<ssize_t(int from, int to, std::size_t size)> copyFileRange;
    std::function<int(int fd, struct stat* info)> fstat;
};
PosixCalls RealPosixCalls();

// Files through POSIX calls, paths as UTF-8. A failure carries errno and names the operation and
// the path. Messages are left to a subclass: this one has no user interface of its own.
class PosixFilePlatform : public PackagePlatform {
  public:
    explicit PosixFilePlatform(PosixCalls calls = RealPosixCalls()) : calls_(std::move(calls)) {}

    std::unique_ptr<OpenTextFile> WriteTextFile(std::u16string_view path,
                                                std::string_view bytes) override;
    void CopyAsset(std::u16string_view from, std::u16string_view to) override;

  private:
    PosixCalls calls_;
};

}  // namespace quillbeam
