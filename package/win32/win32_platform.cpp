#include "win32_platform.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>

#include "system_text.h"
#include "unique_handle.h"
#include "win32_path.h"

namespace quillbeam {
namespace {

constexpr DWORD kCopyBufferSize = 1 << 20;
constexpr std::size_t kLargestWrite = std::numeric_limits<DWORD>::max();
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

void CloseChecked(UniqueHandle& handle, std::u16string_view path) {
    if (!::CloseHandle(handle.Release())) {
        FailWithSystemError(::GetLastError(), "Cannot finish writing", path);
    }
}

// A name such as NUL, CON or COM1 opens a device wherever it stands; writing there would lose the
// text and still look like success, so only a file on a disk is accepted.
void RequireDiskFile(UniqueHandle& handle, std::u16string_view path) {
    if (::GetFileType(handle.get()) != FILE_TYPE_DISK) {
        FailWithSystemError(ERROR_INVALID_NAME, "Cannot create the file", path);
    }
}

// Checked before anything is opened, so that a colon cannot send the text into a data stream.
void RequireValidName(std::u16string_view path) {
    if (HasForbiddenCharacter(path)) {
        FailWithSystemError(ERROR_INVALID_NAME, "Cannot create the file", path);
    }
}

// Windows refuses to replace a read-only file; Wine running as root (as in CI) does not, so the
// attribute is checked here too and the answer is the same everywhere.
void RefuseReadOnly(std::u16string_view path) {
    const DWORD attributes = ::GetFileAttributesW(Win32Path(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        FailWithSystemError(ERROR_ACCESS_DENIED, "Cannot create the file", path);
    }
}

// One WriteFile call for all the bytes, unless the system takes fewer or there are more than a
// call can take; then the rest follows.
void WriteAll(HANDLE file, const char* data, std::size_t size, std::u16string_view path) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, kLargestWrite));
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr)) {
            FailWithSystemError(::GetLastError(), "Cannot write to", path);
        }
        // Nothing written and no error would loop for ever: report it as a full disk.
        if (written == 0) FailWithSystemError(ERROR_DISK_FULL, "Cannot write to", path);
        data += written;
        size -= written;
    }
}

class Win32TextFile final : public OpenTextFile {
  public:
    Win32TextFile(UniqueHandle file, std::u16string path)
        : file_(std::move(file)), path_(std::move(path)) {}
    void Close() override {
        if (file_.valid()) CloseChecked(file_, path_);
    }

  private:
    UniqueHandle file_;
    std::u16string path_;
};

UniqueHandle OpenFile(std::u16string_view path, DWORD access, DWORD share, DWORD disposition,
                      DWORD flags) {
    const std::wstring native = Win32Path(path);
    return UniqueHandle(
        ::CreateFileW(native.c_str(), access, share, nullptr, disposition, flags, nullptr));
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// Whether `path` already names the file `source` is: the output folder being the template folder,
// or reached through another spelling or a link. Anything that cannot be opened is not it.
bool IsSameFile(const BY_HANDLE_FILE_INFORMATION& source, std::u16string_view path) {
    // Attribute access only, so that a read-only file can be recognised too.
    const UniqueHandle existing =
        OpenFile(path, FILE_READ_ATTRIBUTES, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (!existing.valid()) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileInformationByHandle(existing.get(), &info) && SameFile(source, info);
}

}  // namespace

std::unique_ptr<OpenTextFile> Win32FilePlatform::WriteTextFile(std::u16string_view path,
                                                               std::string_view bytes) {
    RequireValidName(path);
    RefuseReadOnly(path);
    UniqueHandle created =
        OpenFile(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (!created.valid()) FailWithSystemError(::GetLastError(), "Cannot create the file", path);
    RequireDiskFile(created, path);
    CloseChecked(created, path);

    UniqueHandle file =
        OpenFile(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (!file.valid()) {
        FailWithSystemError(::GetLastError(), "Cannot open for writing the file", path);
    }
    RequireDiskFile(file, path);
    WriteAll(file.get(), bytes.data(), bytes.size(), path);
    return std::make_unique<Win32TextFile>(std::move(file), std::u16string(path));
}

void Win32FilePlatform::CopyAsset(std::u16string_view from, std::u16string_view to) {
    // Shared for writing too, so that opening the destination can find it is this very file.
    UniqueHandle source =
        OpenFile(from, GENERIC_READ, kShareAll, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!source.valid()) {
        FailWithSystemError(::GetLastError(), "Cannot open the template file", from);
    }
    BY_HANDLE_FILE_INFORMATION sourceInfo{};
    if (!::GetFileInformationByHandle(source.get(), &sourceInfo)) {
        FailWithSystemError(::GetLastError(), "Cannot read", from);
    }
    if (IsSameFile(sourceInfo, to)) return;

    RequireValidName(to);
    RefuseReadOnly(to);
    // A new, plain file: the read-only attribute of a template asset is not carried over, so the
    // next run can replace the copy.
    UniqueHandle dest = OpenFile(to, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    if (!dest.valid()) FailWithSystemError(::GetLastError(), "Cannot create the file", to);
    RequireDiskFile(dest, to);

    std::string buffer(kCopyBufferSize, '\0');
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(source.get(), buffer.data(), kCopyBufferSize, &got, nullptr)) {
            FailWithSystemError(::GetLastError(), "Cannot read", from);
        }
        if (got == 0) break;
        WriteAll(dest.get(), buffer.data(), got, to);
    }
    CloseChecked(dest, to);
}

}  // namespace quillbeam
