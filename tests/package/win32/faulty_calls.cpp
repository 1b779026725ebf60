// The Windows side of the file layer table: its rows' outcomes come second, and its calls are
// made faulty as the table asks. A faulty call that fails sets the last error, as a real one does.
#include "faulty_calls.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "win32_calls.h"

const std::size_t kPlatform = 1;

quillbeam::NativeCalls CallsWith(Fault fault) {
    const quillbeam::Win32Calls real = quillbeam::RealWin32Calls();
    quillbeam::Win32Calls calls = real;
    const auto fail = [](DWORD error) {
        ::SetLastError(error);
        return FALSE;
    };
    const auto count = std::make_shared<std::size_t>(0);
    const auto failingClose = [=](std::size_t failing) {
        return [=](HANDLE handle) {
            return real.closeHandle(handle) && ++*count != failing ? TRUE : fail(ERROR_IO_DEVICE);
        };
    };
    switch (fault) {
        case Fault::kShortWritesThenFull:
            calls.writeFile = [=](HANDLE file, const void* data, DWORD size, DWORD* written) {
                if (*count >= kFullAfter) return fail(ERROR_DISK_FULL);
                const DWORD most = static_cast<DWORD>(kShortWrite);
                const BOOL wrote = real.writeFile(file, data, std::min(size, most), written);
                *count += *written;
                return wrote;
            };
            break;
        case Fault::kWritesNothing:
            calls.writeFile = [=](HANDLE, const void*, DWORD, DWORD* written) {
                *written = 0;
                return ++*count < kAsking ? TRUE : fail(ERROR_IO_DEVICE);
            };
            break;
        case Fault::kFirstCloseFails:
            calls.closeHandle = failingClose(1);
            break;
        case Fault::kSecondCloseFails:
            calls.closeHandle = failingClose(2);
            break;
        case Fault::kOtherVolume:
            calls.getFileInformation = [=, first = std::make_shared<BY_HANDLE_FILE_INFORMATION>()](
                                           HANDLE file, BY_HANDLE_FILE_INFORMATION* info) {
                const BOOL result = real.getFileInformation(file, info);
                if (++*count == 1) {
                    *first = *info;
                } else {
                    *info = *first;
                    ++info->dwVolumeSerialNumber;
                }
                return result;
            };
            break;
        case Fault::kReadFails:
            calls.readFile = [=](HANDLE, void*, DWORD, DWORD*) { return fail(ERROR_IO_DEVICE); };
            break;
        case Fault::kInterrupted:
            calls.writeFile = [=](HANDLE file, const void* data, DWORD size, DWORD* written) {
                return ++*count == 1 ? fail(ERROR_OPERATION_ABORTED)
                                     : real.writeFile(file, data, size, written);
            };
            calls.readFile = [=](HANDLE file, void* data, DWORD size, DWORD* got) {
                return ++*count == 1 ? fail(ERROR_OPERATION_ABORTED)
                                     : real.readFile(file, data, size, got);
            };
            break;
        case Fault::kCloseInterrupted:
            calls.closeHandle = [=](HANDLE handle) {
                return real.closeHandle(handle) ? fail(ERROR_OPERATION_ABORTED) : FALSE;
            };
            break;
        default:  // the kernel copy is POSIX's own
            break;
    }
    return calls;
}
