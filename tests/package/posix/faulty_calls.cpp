// The POSIX side of the file layer table: its rows' outcomes come first, and its calls are made
// faulty as the table asks.
#include "faulty_calls.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <utility>

#include "posix_calls.h"

const std::size_t kPlatform = 0;

quillbeam::NativeCalls CallsWith(Fault fault) {
    const quillbeam::PosixCalls real = quillbeam::RealPosixCalls();
    quillbeam::PosixCalls calls = real;
    const auto fail = [](int error) {
        errno = error;
        return -1;
    };
    const auto count = std::make_shared<std::size_t>(0);
    const auto failingClose = [=](std::size_t failing) {
        return [=](int fd) { return real.close(fd) == 0 && ++*count != failing ? 0 : fail(EIO); };
    };
    switch (fault) {
        case Fault::kShortWritesThenFull:
            calls.write = [=](int fd, const void* data, std::size_t size) -> ssize_t {
                if (*count >= kFullAfter) return fail(ENOSPC);
                const ssize_t written = real.write(fd, data, std::min(size, kShortWrite));
                *count += static_cast<std::size_t>(std::max<ssize_t>(written, 0));
                return written;
            };
            break;
        case Fault::kWritesNothing:
            calls.write = [=](int, const void*, std::size_t) -> ssize_t {
                return ++*count < kAsking ? 0 : fail(EIO);
            };
            break;
        case Fault::kFirstCloseFails:
            calls.close = failingClose(1);
            break;
        case Fault::kSecondCloseFails:
            calls.close = failingClose(2);
            break;
        case Fault::kOtherVolume:
            calls.fstat = [=, first = std::make_shared<struct stat>()](int fd, struct stat* info) {
                const int result = real.fstat(fd, info);
                if (++*count == 1) {
                    *first = *info;
                } else {
                    *info = *first;
                    ++info->st_dev;
                }
                return result;
            };
            break;
        case Fault::kKernelCopyFailsMidway:
            calls.copyFileRange = [=](int from, int to, std::size_t) -> ssize_t {
                return ++*count == 1 ? real.copyFileRange(from, to, 3) : fail(EIO);
            };
            break;
        case Fault::kKernelCopyFailsAtOnce:
            calls.copyFileRange = [=](int, int, std::size_t) -> ssize_t { return fail(ENOSPC); };
            break;
        case Fault::kNoKernelCopy:
            calls.copyFileRange = [=](int, int, std::size_t) -> ssize_t { return fail(EXDEV); };
            break;
        case Fault::kInterrupted: {
            const auto interrupted = [=](auto call) {
                return [=, first = std::make_shared<bool>(true)](auto... arguments) -> ssize_t {
                    return std::exchange(*first, false) ? fail(EINTR) : call(arguments...);
                };
            };
            calls.write = interrupted(real.write);
            calls.read = interrupted(real.read);
            calls.copyFileRange = interrupted([=](int, int, std::size_t) { return fail(EXDEV); });
            break;
        }
        case Fault::kCloseInterrupted:
            calls.close = [=](int fd) { return real.close(fd) == 0 ? fail(EINTR) : -1; };
            break;
        case Fault::kReadFails:
            calls.copyFileRange = [=](int, int, std::size_t) -> ssize_t { return fail(EXDEV); };
            calls.read = [=](int, void*, std::size_t) -> ssize_t { return fail(EIO); };
            break;
        case Fault::kNone:
            break;
    }
    return calls;
}
