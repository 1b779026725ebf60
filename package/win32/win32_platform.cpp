// The Windows side of the file layer: the wide-character calls, GetLastError(), and the path rules
// of Win32 names.
#include <algorithm>
#include <limits>
#include <string>

#include "native_file_platform.h"
#include "native_steps.h"
#include "system_text.h"
#include "win32_calls.h"
#include "win32_file.h"
#include "win32_path.h"

namespace quillbeam {

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

namespace native {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

Error LastError() {
    return static_cast<Error>(::GetLastError());
}

Opened Open(const NativePath& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    NativeFile file(
        ::CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
    const Error error = file.valid() ? 0 : LastError();
    return {std::move(file), error};
}

// As much of `size` as one call takes.
DWORD OneCall(std::size_t size) {
    return static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
}

// Windows refuses to replace a read-only file; Wine running as root (as in CI) does not, so the
// attribute is checked here too and the answer is the same everywhere.
bool IsReadOnlyFile(const NativePath& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::string Words(Error error) {
    return SystemText(static_cast<DWORD>(error));
}

// A colon would send the text into a data stream, and a device name such as NUL or COM1 would
// take it and lose it while looking like success: both are refused before anything is opened.
PathToCreate CreatablePath(std::u16string_view path) {
    Win32Path native = ToWin32Path(path);
    if (native.device || HasForbiddenCharacter(path)) return {{}, ERROR_INVALID_NAME};
    return {std::move(native.wide)};
}

NativePath ReadablePath(std::u16string_view path) {
    return ToWin32Path(path).wide;
}

// Shared for writing too, so that the destination can be looked at when it is this very file.
Opened OpenToRead(const NativePath& path) {
    return Open(path, GENERIC_READ, kShareAll, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
}

// A new, plain file: the read-only attribute of a template asset is not carried over, so the next
// run can replace the copy. Only a file on a disk is accepted, whatever else a path in the device
// namespace opens.
Opened Create(const NativePath& path) {
    if (IsReadOnlyFile(path)) return {NativeFile(), ERROR_ACCESS_DENIED};
    Opened created =
        Open(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (created.error == 0 && ::GetFileType(created.file.get()) != FILE_TYPE_DISK) {
        return {NativeFile(), ERROR_INVALID_NAME};
    }
    return created;
}

Opened OpenToWrite(const NativePath& path) {
    return Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

// Attribute access only, so that a read-only file is recognised too; a folder opens as well.
NativeFile OpenToLookAt(const NativePath& path) {
    return Open(path, FILE_READ_ATTRIBUTES, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS)
        .file;
}

Examined Examine(const NativeCalls& calls, const NativeFile& file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!calls.getFileInformation(file.get(), &info)) return {.error = LastError()};
    return {{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow},
            (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
}

Moved Read(const NativeCalls& calls, const NativeFile& file, char* data, std::size_t size) {
    DWORD got = 0;
    if (!calls.readFile(file.get(), data, OneCall(size), &got)) return {0, LastError()};
    return {got, 0};
}

Moved Write(const NativeCalls& calls, const NativeFile& file, const char* data, std::size_t size) {
    DWORD written = 0;
    if (!calls.writeFile(file.get(), data, OneCall(size), &written)) return {0, LastError()};
    return {written, 0};
}

Moved CopyInKernel(const NativeCalls& /*calls*/, const NativeFile& /*from*/,
                   const NativeFile& /*to*/) {
    return {0, ERROR_NOT_SUPPORTED};
}

Error Close(const NativeCalls& calls, NativeFile& file) {
    return calls.closeHandle(file.Release()) ? 0 : LastError();
}

}  // namespace native
}  // namespace quillbeam
