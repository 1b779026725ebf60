#pragma once

#include <cstddef>

// What the file layer table asks of a platform's system calls. Each platform's faulty_calls.cpp
// makes its own calls behave so; a fault a platform does not have stays a real call there.
enum class Fault {
    kNone,
    kShortWritesThenFull,  // writes take kShortWrite bytes at most, and fail once kFullAfter are in
    kWritesNothing,        // writes take nothing and report no error; after kAsking calls they fail
    kFirstCloseFails,      // the first close that is checked fails, the handle closed all the same
    kSecondCloseFails,
    kOtherVolume,  // the second file looked at answers as the first one on another volume
    kKernelCopyFailsMidway,
    kKernelCopyFailsAtOnce,  // the kernel's copy finds the disk full before it copies a byte
    kNoKernelCopy,           // the kernel cannot copy between these two files
    // The first write, read and kernel copy are each interrupted before they do anything: by a
    // signal on POSIX (EINTR), after which the kernel copy is refused, so that a copy goes through
    // the buffer too; by another thread cancelling them on Windows (ERROR_OPERATION_ABORTED).
    kInterrupted,
    kCloseInterrupted,  // every close is interrupted (EINTR; aborted on Windows) once it has closed
    kReadFails,         // reading a file fails (and the kernel cannot copy, so that it is read)
};

inline constexpr std::size_t kShortWrite = 7;
inline constexpr std::size_t kFullAfter = 21;
// So many times a layer that keeps asking for a write that writes nothing is answered.
inline constexpr std::size_t kAsking = 100;
