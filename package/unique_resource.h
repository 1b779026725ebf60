#pragma once

#include <utility>

namespace quillbeam {

// Owns one system resource (a descriptor, a kernel handle, a GDI object, a device context) and
// releases it once, when it goes. It can be moved but not copied, so no copy releases it twice.
//
// `Traits` says what the resource is:
//   using Handle = ...;                    the resource's type
//   static Handle Invalid() noexcept;      the value that owns nothing
//   static bool IsValid(Handle) noexcept;  whether a value is a resource (some calls fail with
//                                          more than one value)
//   void Release(Handle) const noexcept;   gives it back to the system
// A Traits object may carry what the release needs besides the handle, such as the window a
// device context belongs to.
template <typename Traits>
class UniqueResource {
  public:
    using Handle = typename Traits::Handle;

    UniqueResource() = default;
    explicit UniqueResource(Handle handle, Traits traits = {}) noexcept
        : handle_(handle), traits_(std::move(traits)) {}
    UniqueResource(UniqueResource&& other) noexcept
        : handle_(other.Release()), traits_(std::move(other.traits_)) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
            traits_ = std::move(other.traits_);
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { Reset(); }

    Handle get() const noexcept { return handle_; }
    bool valid() const noexcept { return Traits::IsValid(handle_); }
    explicit operator bool() const noexcept { return valid(); }

    // Hands the resource to a caller that wants to release it itself, for instance to check
    // what the release reports.
    Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    // Releases the resource now, quietly.
    void Reset() noexcept {
        const Handle handle = Release();
        if (Traits::IsValid(handle)) traits_.Release(handle);
    }

  private:
    Handle handle_ = Traits::Invalid();
    [[no_unique_address]] Traits traits_{};
};

// Traits for the common kind of resource: a handle that is null when it owns nothing and goes back
// to the system through one function, such as DeleteObject or FreeLibrary.
template <typename H, auto Free>
struct NullableHandleTraits {
    using Handle = H;
    static H Invalid() noexcept { return nullptr; }
    static bool IsValid(H handle) noexcept { return handle != nullptr; }
    void Release(H handle) const noexcept { Free(handle); }
};

}  // namespace quillbeam
