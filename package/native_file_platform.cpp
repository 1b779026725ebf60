// The file layer's operations, made of the platform's single steps (native_steps.h) the same way
// on every platform.
#include "native_file_platform.h"

#include <string>

#include "checked_file.h"
#include "file_failure.h"
#include "native_steps.h"
#include "utf8.h"

namespace quillbeam {
namespace {

using native::NativeFile;
using native::NativePath;

constexpr std::string_view kCannotCreate = "Cannot create the file";
constexpr std::string_view kCannotOpenForWriting = "Cannot open for writing the file";
constexpr std::string_view kCannotWrite = "Cannot write to";
constexpr std::string_view kCannotFinish = "Cannot finish writing";
constexpr std::string_view kCannotOpenTemplate = "Cannot open the template file";
constexpr std::string_view kCannotRead = "Cannot read";

[[noreturn]] void Fail(native::Error error, std::string_view action, std::u16string_view path) {
    throw FailureAt(error, action, ToUtf8(path), native::Words(error));
}

NativePath CreatablePath(std::u16string_view path) {
    native::PathToCreate creatable = native::CreatablePath(path);
    if (creatable.refused != 0) Fail(creatable.refused, kCannotCreate, path);
    return std::move(creatable.path);
}

void CloseChecked(const NativeCalls& calls, NativeFile& file, std::u16string_view path) {
    const native::Error error = native::Close(calls, file);
    if (error != 0) Fail(error, kCannotFinish, path);
}

void WriteAll(const NativeCalls& calls, const NativeFile& file, std::string_view bytes,
              std::u16string_view path) {
    while (!bytes.empty()) {
        const native::Moved written = native::Write(calls, file, bytes.data(), bytes.size());
        if (native::Interrupted(written.error)) continue;
        if (written.error != 0) Fail(written.error, kCannotWrite, path);
        // Nothing written and no error would loop for ever: report it as a full disk. A short
        // write is not an error by itself: the next call reports what stopped it.
        if (written.bytes == 0) Fail(native::kDiskFull, kCannotWrite, path);
        bytes.remove_prefix(written.bytes);
    }
}

// Whether `path` already names the file `source` is: the output folder being the template folder,
// or reached through another spelling or a link. Anything that cannot be looked at is not it.
bool IsSameFile(const NativeCalls& calls, const native::FileIdentity& source,
                const NativePath& path) {
    const NativeFile existing = native::OpenToLookAt(path);
    if (!existing.valid()) return false;
    const native::Examined examined = native::Examine(calls, existing);
    return examined.error == 0 && examined.identity == source;
}

// False when the system cannot copy between these two files by itself, found out before a byte
// is copied.
bool CopyInKernel(const NativeCalls& calls, const NativeFile& from, const NativeFile& to,
                  std::u16string_view toPath) {
    bool copiedAny = false;
    for (;;) {
        const native::Moved copied = native::CopyInKernel(calls, from, to);
        if (native::Interrupted(copied.error)) continue;
        if (copied.error == 0 && copied.bytes == 0) return true;
        if (copied.error == 0) {
            copiedAny = true;
        } else if (native::NoKernelCopy(copied.error) && !copiedAny) {
            return false;
        } else {
            Fail(copied.error, kCannotWrite, toPath);
        }
    }
}

void CopyThroughBuffer(const NativeCalls& calls, const NativeFile& from, const NativeFile& to,
                       std::u16string_view fromPath, std::u16string_view toPath) {
    std::string buffer(native::kCopyBufferSize, '\0');
    for (;;) {
        const native::Moved got = native::Read(calls, from, buffer.data(), buffer.size());
        if (native::Interrupted(got.error)) continue;
        if (got.error != 0) Fail(got.error, kCannotRead, fromPath);
        if (got.bytes == 0) return;
        WriteAll(calls, to, std::string_view(buffer.data(), got.bytes), toPath);
    }
}

}  // namespace

std::unique_ptr<OpenTextFile> NativeFilePlatform::WriteTextFile(std::u16string_view path,
                                                                std::string_view bytes) {
    const NativePath target = CreatablePath(path);
    native::Opened created = native::Create(target);
    if (created.error != 0) Fail(created.error, kCannotCreate, path);
    CloseChecked(calls_, created.file, path);

    native::Opened opened = native::OpenToWrite(target);
    if (opened.error != 0) Fail(opened.error, kCannotOpenForWriting, path);
    WriteAll(calls_, opened.file, bytes, path);
    return std::make_unique<CheckedFile<NativeFile>>(
        std::move(opened.file), [calls = calls_, path = std::u16string(path)](NativeFile& file) {
            CloseChecked(calls, file, path);
        });
}

void NativeFilePlatform::CopyAsset(std::u16string_view from, std::u16string_view to) {
    Copy(from, to, Absent::kFails);
}

bool NativeFilePlatform::CopyAssetIfPresent(std::u16string_view from, std::u16string_view to) {
    return Copy(from, to, Absent::kSkipped);
}

bool NativeFilePlatform::Copy(std::u16string_view from, std::u16string_view to, Absent absent) {
    const native::Opened source = native::OpenToRead(native::ReadablePath(from));
    if (absent == Absent::kSkipped && native::NotFound(source.error)) return false;
    if (source.error != 0) Fail(source.error, kCannotOpenTemplate, from);
    const native::Examined sourceInfo = native::Examine(calls_, source.file);
    if (sourceInfo.error != 0) Fail(sourceInfo.error, kCannotRead, from);
    if (sourceInfo.folder) Fail(native::kIsFolder, kCannotOpenTemplate, from);
    const NativePath target = CreatablePath(to);
    // Before the destination is cut, so that copying a file onto itself loses nothing.
    if (IsSameFile(calls_, sourceInfo.identity, target)) return true;

    native::Opened dest = native::Create(target);
    if (dest.error != 0) Fail(dest.error, kCannotCreate, to);
    if (!CopyInKernel(calls_, source.file, dest.file, to)) {
        CopyThroughBuffer(calls_, source.file, dest.file, from, to);
    }
    CloseChecked(calls_, dest.file, to);
    return true;
}

}  // namespace quillbeam
