#pragma once

// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

namespace quillbeam::win32 {

// Initialises COM for a single-threaded apartment on this thread for as long as it lives, as the
// shell's folder dialog needs. Uninitialises only what it initialised.
class ComApartment {
  public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }

    bool initialised() const noexcept { return initialised_; }

  private:
    bool initialised_;
};

}  // namespace quillbeam::win32
