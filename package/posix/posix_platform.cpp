#include "posix_platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "file_failure.h"
#include "unique_fd.h"
#include "utf8.h"

namespace quillbeam {
namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file
constexpr std::size_t kCopyBufferSize = 1 << 17;

[[noreturn]] void Fail(int error, std::string_view action, const std::string& path) {
    std::string description(action);
    description.append(" \"").append(path).append("\": ");
    description += std::generic_category().message(error);
    throw FileFailure(error, description);
}

void CloseChecked(UniqueFd& fd, const std::string& path) {
    if (::close(fd.Release()) != 0 && errno != EINTR) Fail(errno, "Cannot finish writing", path);
}

void WriteAll(int fd, const char* data, std::size_t size, const std::string& path) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail(errno, "Cannot write to", path);
        }
        // A short write is not an error by itself: the next call reports what stopped it.
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

class PosixTextFile final : public OpenTextFile {
public:
    PosixTextFile(UniqueFd fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}
    void Close() override {
        if (fd_.valid()) CloseChecked(fd_, path_);
    }

private:
    UniqueFd fd_;
    std::string path_;
};

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// copy_file_range lets the kernel move the bytes (or share extents) without a trip through user
// space; it returns false when it is not available for this pair of files before copying a byte.
bool CopyInKernel(int from, int to, const std::string& toPath) {
    bool copiedAny = false;
    for (;;) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
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

void CopyThroughBuffer(int from, int to, const std::string& fromPath, const std::string& toPath) {
    std::string buffer(kCopyBufferSize, '\0');
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got == 0) return;
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail(errno, "Cannot read", fromPath);
        }
        WriteAll(to, buffer.data(), static_cast<std::size_t>(got), toPath);
    }
}

}  // namespace

std::unique_ptr<OpenTextFile> PosixFilePlatform::WriteTextFile(std::u16string_view path,
                                                               std::string_view bytes) {
    const std::string native = ToUtf8(path);
    UniqueFd created(::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kNewFileMode));
    if (!created.valid()) Fail(errno, "Cannot create the file", native);
    CloseChecked(created, native);

    UniqueFd fd(::open(native.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd.valid()) Fail(errno, "Cannot open for writing the file", native);
    WriteAll(fd.get(), bytes.data(), bytes.size(), native);
    return std::make_unique<PosixTextFile>(std::move(fd), native);
}

void PosixFilePlatform::CopyAsset(std::u16string_view from, std::u16string_view to) {
    const std::string fromPath = ToUtf8(from);
    const std::string toPath = ToUtf8(to);

    UniqueFd source(::open(fromPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.valid()) Fail(errno, "Cannot open the template file", fromPath);
    struct stat sourceInfo {};
    if (::fstat(source.get(), &sourceInfo) != 0) Fail(errno, "Cannot read", fromPath);
    if (S_ISDIR(sourceInfo.st_mode)) Fail(EISDIR, "Cannot copy the template file", fromPath);

    // Opened without truncating, so that a destination which is the source itself (the output
    // folder being the template folder, or a link to it) is recognised before anything is lost.
    UniqueFd dest(::open(toPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, kNewFileMode));
    if (!dest.valid()) Fail(errno, "Cannot create the file", toPath);
    struct stat destInfo {};
    if (::fstat(dest.get(), &destInfo) != 0) Fail(errno, "Cannot write to", toPath);
    if (SameFile(sourceInfo, destInfo)) return;
    // Only a regular file has a length to cut; a device such as a full disk's is written as is.
    if (S_ISREG(destInfo.st_mode) && ::ftruncate(dest.get(), 0) != 0) {
        Fail(errno, "Cannot replace the file", toPath);
    }

    if (!CopyInKernel(source.get(), dest.get(), toPath)) {
        CopyThroughBuffer(source.get(), dest.get(), fromPath, toPath);
    }
    CloseChecked(dest, toPath);
}

}  // namespace quillbeam
