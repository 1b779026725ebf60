#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "checked_file.h"
#include "file_failure.h"
#include "native_file_platform.h"
#include "unique_fd.h"
#include "utf8.h"

namespace quillbeam {
namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file
constexpr std::size_t kCopyBufferSize = 1 << 17;

[[noreturn]] void Fail(int error, std::string_view action, const std::string& path) {
    throw FailureAt(error, action, path, std::generic_category().message(error));
}

using CloseCall = std::function<int(int)>;

void CloseChecked(const CloseCall& close, UniqueFd& fd, const std::string& path) {
    if (close(fd.Release()) != 0 && errno != EINTR) Fail(errno, "Cannot finish writing", path);
}

void WriteAll(const PosixCalls& calls, int fd, const char* data, std::size_t size,
              const std::string& path) {
    while (size > 0) {
        const ssize_t written = calls.write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail(errno, "Cannot write to", path);
        }
        // Nothing written and no error would loop for ever: report it as a full disk. A short
        // write is not an error by itself: the next call reports what stopped it.
        if (written == 0) Fail(ENOSPC, "Cannot write to", path);
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

// Whether `path` already names the file `source` is: the output folder being the template folder,
// or reached through another spelling or a link. Anything that cannot be looked at is not it.
bool IsSameFile(const PosixCalls& calls, const struct stat& source, const std::string& path) {
    // O_PATH needs no access to the file, so that a read-only file is recognised too.
    const UniqueFd existing(::open(path.c_str(), O_PATH | O_CLOEXEC));
    struct stat info {};
    return existing.valid() && calls.fstat(existing.get(), &info) == 0 &&
           info.st_dev == source.st_dev && info.st_ino == source.st_ino;
}

// copy_file_range lets the kernel move the bytes (or share extents) without a trip through user
// space; it returns false when it is not available for this pair of files before copying a byte.
bool CopyInKernel(const PosixCalls& calls, int from, int to, const std::string& toPath) {
    bool copiedAny = false;
    for (;;) {
        const ssize_t copied = calls.copyFileRange(from, to, 1 << 30);
        if (copied == 0) return true;
        if (copied > 0) {
            copiedAny = true;
            continue;
        }
        if (errno == EINTR) continue;
        const bool unsupported =
            errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP;
        if (unsupported && !copiedAny) return false;
        Fail(errno, "Cannot write to", toPath);
    }
}

void CopyThroughBuffer(const PosixCalls& calls, int from, int to, const std::string& fromPath,
                       const std::string& toPath) {
    std::string buffer(kCopyBufferSize, '\0');
    for (;;) {
        const ssize_t got = calls.read(from, buffer.data(), buffer.size());
        if (got == 0) return;
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail(errno, "Cannot read", fromPath);
        }
        WriteAll(calls, to, buffer.data(), static_cast<std::size_t>(got), toPath);
    }
}

}  // namespace

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

std::unique_ptr<OpenTextFile> NativeFilePlatform::WriteTextFile(std::u16string_view path,
                                                                std::string_view bytes) {
    const std::string native = ToUtf8(path);
    UniqueFd created(
        ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kNewFileMode));
    if (!created.valid()) Fail(errno, "Cannot create the file", native);
    CloseChecked(calls_.close, created, native);

    UniqueFd fd(::open(native.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd.valid()) Fail(errno, "Cannot open for writing the file", native);
    WriteAll(calls_, fd.get(), bytes.data(), bytes.size(), native);
    return std::make_unique<CheckedFile<UniqueFd>>(
        std::move(fd),
        [close = calls_.close, native](UniqueFd& open) { CloseChecked(close, open, native); });
}

void NativeFilePlatform::CopyAsset(std::u16string_view from, std::u16string_view to) {
    const std::string fromPath = ToUtf8(from);
    const std::string toPath = ToUtf8(to);

    UniqueFd source(::open(fromPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.valid()) Fail(errno, "Cannot open the template file", fromPath);
    struct stat sourceInfo {};
    if (calls_.fstat(source.get(), &sourceInfo) != 0) Fail(errno, "Cannot read", fromPath);
    if (S_ISDIR(sourceInfo.st_mode)) Fail(EISDIR, "Cannot open the template file", fromPath);
    // Before the destination is cut, so that copying a file onto itself loses nothing.
    if (IsSameFile(calls_, sourceInfo, toPath)) return;

    // O_TRUNC leaves a device, such as a full disk's, as it is.
    UniqueFd dest(::open(toPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kNewFileMode));
    if (!dest.valid()) Fail(errno, "Cannot create the file", toPath);
    if (!CopyInKernel(calls_, source.get(), dest.get(), toPath)) {
        CopyThroughBuffer(calls_, source.get(), dest.get(), fromPath, toPath);
    }
    CloseChecked(calls_.close, dest, toPath);
}

}  // namespace quillbeam
