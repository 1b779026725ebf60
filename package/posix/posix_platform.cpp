// The POSIX side of the file layer: its calls, errno, and paths as UTF-8.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "native_file_platform.h"
#include "native_steps.h"
#include "posix_calls.h"
#include "posix_file.h"
#include "utf8.h"

namespace quillbeam {

PosixCalls RealPosixCalls() {
    return {
        .read = ::read,
        .write = ::write,
        .close = ::close,
        .copyFileRange =
            [](int from, int to, std::size_t size) {
                return ::copy_file_range(from, nullptr, to, nullptr, size, 0);
            },
        .fstat = ::fstat,
    };
}

NativeFilePlatform::NativeFilePlatform() : calls_(RealPosixCalls()) {}

namespace native {
namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file
constexpr std::size_t kLargestKernelCopy = 1 << 30;

Opened Open(const NativePath& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, kNewFileMode);
    const Error error = fd < 0 ? errno : 0;
    return {NativeFile(fd), error};
}

// A read, write or copy call's result as a count or errno.
Moved Counted(ssize_t result) {
    if (result < 0) return {0, errno};
    return {static_cast<std::size_t>(result), 0};
}

}  // namespace

std::string Words(Error error) {
    return std::generic_category().message(error);
}

// A NUL would end the path early, and another file than the one named would be written.
PathToCreate CreatablePath(std::u16string_view path) {
    if (path.find(u'\0') != std::u16string_view::npos) return {{}, EINVAL};
    return {ToUtf8(path)};
}

NativePath ReadablePath(std::u16string_view path) {
    return ToUtf8(path);
}

Opened OpenToRead(const NativePath& path) {
    return Open(path, O_RDONLY);
}

// O_TRUNC leaves a device, such as a full disk's, as it is.
Opened Create(const NativePath& path) {
    return Open(path, O_WRONLY | O_CREAT | O_TRUNC);
}

Opened OpenToWrite(const NativePath& path) {
    return Open(path, O_WRONLY);
}

// O_PATH needs no access to the file, so that a read-only file is recognised too.
NativeFile OpenToLookAt(const NativePath& path) {
    return NativeFile(::open(path.c_str(), O_PATH | O_CLOEXEC));
}

Examined Examine(const NativeCalls& calls, const NativeFile& file) {
    struct stat info {};
    if (calls.fstat(file.get(), &info) != 0) return {.error = errno};
    return {{info.st_dev, info.st_ino}, S_ISDIR(info.st_mode)};
}

Moved Read(const NativeCalls& calls, const NativeFile& file, char* data, std::size_t size) {
    return Counted(calls.read(file.get(), data, size));
}

Moved Write(const NativeCalls& calls, const NativeFile& file, const char* data, std::size_t size) {
    return Counted(calls.write(file.get(), data, size));
}

Moved CopyInKernel(const NativeCalls& calls, const NativeFile& from, const NativeFile& to) {
    return Counted(calls.copyFileRange(from.get(), to.get(), kLargestKernelCopy));
}

// Linux has closed the descriptor even when a signal interrupted close: nothing is left to retry.
Error Close(const NativeCalls& calls, NativeFile& file) {
    if (calls.close(file.Release()) == 0 || errno == EINTR) return 0;
    return errno;
}

}  // namespace native
}  // namespace quillbeam
