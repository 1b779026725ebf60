#include <algorithm>
#include <limits>
#include <string>

#include "checked_file.h"
#include "file_failure.h"
#include "native_file_platform.h"
#include "system_text.h"
#include "unique_handle.h"
#include "utf8.h"
#include "win32_path.h"

namespace quillbeam {
namespace {

constexpr DWORD kCopyBufferSize = 1 << 20;
constexpr std::size_t kLargestWrite = std::numeric_limits<DWORD>::max();
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Pass GetLastError() read right after the call that failed.
[[noreturn]] void Fail(DWORD error, std::string_view action, std::u16string_view path) {
    throw FailureAt(static_cast<std::int32_t>(error), action, ToUtf8(path), SystemText(error));
}

using CloseCall = std::function<BOOL(HANDLE)>;

void CloseChecked(const CloseCall& close, UniqueHandle& handle, std::u16string_view path) {
    if (!close(handle.Release())) Fail(::GetLastError(), "Cannot finish writing", path);
}

// The path of a file to create, worked out once. A colon would send the text into a data stream,
// and a device name such as NUL or COM1 would take it and lose it while looking like success:
// both are refused before anything is opened.
std::wstring CreatablePath(std::u16string_view path) {
    Win32Path native = ToWin32Path(path);
    if (native.device || HasForbiddenCharacter(path)) {
        Fail(ERROR_INVALID_NAME, "Cannot create the file", path);
    }
    return std::move(native.wide);
}

// Only a file on a disk is accepted, whatever else a path in the device namespace opens.
void RequireDiskFile(const UniqueHandle& handle, std::u16string_view path) {
    if (::GetFileType(handle.get()) != FILE_TYPE_DISK) {
        Fail(ERROR_INVALID_NAME, "Cannot create the file", path);
    }
}

// Windows refuses to replace a read-only file; Wine running as root (as in CI) does not, so the
// attribute is checked here too and the answer is the same everywhere.
void RefuseReadOnly(const std::wstring& native, std::u16string_view path) {
    const DWORD attributes = ::GetFileAttributesW(native.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        Fail(ERROR_ACCESS_DENIED, "Cannot create the file", path);
    }
}

// One WriteFile call for all the bytes, unless the system takes fewer or there are more than a
// call can take; then the rest follows.
void WriteAll(const Win32Calls& calls, HANDLE file, const char* data, std::size_t size,
              std::u16string_view path) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, kLargestWrite));
        DWORD written = 0;
        if (!calls.writeFile(file, data, chunk, &written)) {
            Fail(::GetLastError(), "Cannot write to", path);
        }
        // Nothing written and no error would loop for ever: report it as a full disk.
        if (written == 0) Fail(ERROR_DISK_FULL, "Cannot write to", path);
        data += written;
        size -= written;
    }
}

UniqueHandle OpenFile(const std::wstring& native, DWORD access, DWORD share, DWORD disposition,
                      DWORD flags) {
    return UniqueHandle(
        ::CreateFileW(native.c_str(), access, share, nullptr, disposition, flags, nullptr));
}

// Whether `native` already names the file `source` is: the output folder being the template
// folder, or reached through another spelling or a link. Anything that cannot be opened is not it.
bool IsSameFile(const Win32Calls& calls, const BY_HANDLE_FILE_INFORMATION& source,
                const std::wstring& native) {
    // Attribute access only, so that a read-only file is recognised too.
    const UniqueHandle existing = OpenFile(native, FILE_READ_ATTRIBUTES, kShareAll, OPEN_EXISTING,
                                           FILE_FLAG_BACKUP_SEMANTICS);
    BY_HANDLE_FILE_INFORMATION info{};
    return existing.valid() && calls.getFileInformation(existing.get(), &info) &&
           info.dwVolumeSerialNumber == source.dwVolumeSerialNumber &&
           info.nFileIndexHigh == source.nFileIndexHigh &&
           info.nFileIndexLow == source.nFileIndexLow;
}

}  // namespace

Win32Calls RealWin32Calls() {
    return {
        .readFile = [](HANDLE file, void* data, DWORD size,
                       DWORD* got) { return ::ReadFile(file, data, size, got, nullptr); },
        .writeFile = [](HANDLE file, const void* data, DWORD size,
                        DWORD* written) { return ::WriteFile(file, data, size, written, nullptr); },
        .closeHandle = ::CloseHandle,
        .getFileInformation = ::GetFileInformationByHandle,
    };
}

NativeFilePlatform::NativeFilePlatform() : calls_(RealWin32Calls()) {}

std::unique_ptr<OpenTextFile> NativeFilePlatform::WriteTextFile(std::u16string_view path,
                                                                std::string_view bytes) {
    const std::wstring native = CreatablePath(path);
    RefuseReadOnly(native, path);
    UniqueHandle created =
        OpenFile(native, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (!created.valid()) Fail(::GetLastError(), "Cannot create the file", path);
    RequireDiskFile(created, path);
    CloseChecked(calls_.closeHandle, created, path);

    UniqueHandle file =
        OpenFile(native, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (!file.valid()) Fail(::GetLastError(), "Cannot open for writing the file", path);
    WriteAll(calls_, file.get(), bytes.data(), bytes.size(), path);
    return std::make_unique<CheckedFile<UniqueHandle>>(
        std::move(file), [close = calls_.closeHandle, path = std::u16string(path)](
                             UniqueHandle& open) { CloseChecked(close, open, path); });
}

void NativeFilePlatform::CopyAsset(std::u16string_view from, std::u16string_view to) {
    // Shared for writing too, so that the destination can be looked at when it is this very file.
    UniqueHandle source = OpenFile(ToWin32Path(from).wide, GENERIC_READ, kShareAll, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN);
    if (!source.valid()) Fail(::GetLastError(), "Cannot open the template file", from);
    BY_HANDLE_FILE_INFORMATION sourceInfo{};
    if (!calls_.getFileInformation(source.get(), &sourceInfo)) {
        Fail(::GetLastError(), "Cannot read", from);
    }
    const std::wstring native = CreatablePath(to);
    // Before the destination is cut, so that copying a file onto itself loses nothing.
    if (IsSameFile(calls_, sourceInfo, native)) return;

    RefuseReadOnly(native, to);
    // A new, plain file: the read-only attribute of a template asset is not carried over, so the
    // next run can replace the copy.
    UniqueHandle dest = OpenFile(native, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    if (!dest.valid()) Fail(::GetLastError(), "Cannot create the file", to);
    RequireDiskFile(dest, to);

    std::string buffer(kCopyBufferSize, '\0');
    for (;;) {
        DWORD got = 0;
        if (!calls_.readFile(source.get(), buffer.data(), kCopyBufferSize, &got)) {
            Fail(::GetLastError(), "Cannot read", from);
        }
        if (got == 0) break;
        WriteAll(calls_, dest.get(), buffer.data(), got, to);
    }
    CloseChecked(calls_.closeHandle, dest, to);
}

}  // namespace quillbeam
