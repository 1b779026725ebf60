#pragma once

#include <windows.h>

#include <utility>

namespace quillbeam {

// Owns a kernel handle such as CreateFileW's. The destructor closes it quietly; Release() hands it
// to a caller that wants to check the close itself. It cannot be copied, so it closes only once.
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    HANDLE get() const noexcept { return handle_; }
    // CreateFileW fails with INVALID_HANDLE_VALUE, most other calls with a null handle.
    bool valid() const noexcept { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Release() noexcept { return std::exchange(handle_, nullptr); }

  private:
    void Reset() noexcept {
        if (valid()) ::CloseHandle(handle_);
        handle_ = nullptr;
    }
    HANDLE handle_ = nullptr;
};

}  // namespace quillbeam
