#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The platform's calls (posix_calls.h, win32_calls.h), and its file handle, its paths, what tells
// two files apart and its error numbers (posix_file.h, win32_file.h): the build names the headers
// of the platform it is for.
#include QUILLBEAM_PLATFORM_CALLS_HEADER
#include QUILLBEAM_PLATFORM_FILE_HEADER

// The file layer's single steps on the system, each platform's own: its calls, its error numbers
// and its path rules. The layer's operations are made of them once, for every platform, in
// native_file_platform.cpp; each platform's folder defines these.
namespace quillbeam::native {

// The platform's error number (errno, GetLastError()), read right after the call that failed; 0
// for none.
using Error = std::int32_t;

// A file opened, or the error that kept it shut.
struct Opened {
    NativeFile file;
    Error error = 0;
};
// What one read, write or copy call moved, or the error that stopped it.
struct Moved {
    std::size_t bytes = 0;
    Error error = 0;
};
// Which file an open handle is and whether it is a folder, or the error that kept it from view.
struct Examined {
    FileIdentity identity{};
    bool folder = false;
    Error error = 0;
};
// The path a file may be created at, or why the platform refuses to create one there.
struct PathToCreate {
    NativePath path;
    Error refused = 0;
};

// The system's own words for `error`.
std::string Words(Error error);

PathToCreate CreatablePath(std::u16string_view path);
NativePath ReadablePath(std::u16string_view path);

Opened OpenToRead(const NativePath& path);
// Creates a plain file, or cuts an existing one to nothing, open for writing.
Opened Create(const NativePath& path);
// Opens the file, which exists, for writing.
Opened OpenToWrite(const NativePath& path);
// Opens whatever `path` names only to tell which file it is, so that no access to its contents is
// needed; an invalid handle when nothing can be opened there.
NativeFile OpenToLookAt(const NativePath& path);

Examined Examine(const NativeCalls& calls, const NativeFile& file);
Moved Read(const NativeCalls& calls, const NativeFile& file, char* data, std::size_t size);
Moved Write(const NativeCalls& calls, const NativeFile& file, const char* data, std::size_t size);
// Lets the system copy the next part of `from` into `to` without a trip through this process.
// Zero bytes and no error: the whole file is copied.
Moved CopyInKernel(const NativeCalls& calls, const NativeFile& from, const NativeFile& to);
// Closes the file, which no longer holds it, and says what the close reported.
Error Close(const NativeCalls& calls, NativeFile& file);

}  // namespace quillbeam::native
