#pragma once

#include <utility>

namespace quillbeam {

// Owns one system resource (a descriptor, a kernel handle, a GDI object, a device context) and
// frees it once, when it goes. It can be moved but not copied, so no copy frees it twice.
//
// `Traits` says what the resource is:
//   using Handle = ...;                    the resource's type
//   static Handle Invalid() noexcept;      the value that owns nothing
//   static bool IsValid(Handle) noexcept;  whether a value is a resource (some calls fail with
//                                          more than one value)
//   void Free(Handle) const noexcept;      gives it back to the system
// A Traits object may carry what freeing needs besides the handle, such as the window a device
// context belongs to.
//
// Two words, two meanings: the wrapper's Release() gives up ownership and frees nothing, as
// std::unique_ptr::release does; Free (the traits') and Reset() give the resource back.
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

    // Gives up ownership without freeing: the caller takes the resource, for instance to close it
    // itself and check what the close reports.
    Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    // Frees the resource now, quietly.
    void Reset() noexcept {
        const Handle handle = Release();
        if (Traits::IsValid(handle)) traits_.Free(handle);
    }

  private:
    Handle handle_ = Traits::Invalid();
    [[no_unique_address]] Traits traits_{};
};

// Traits for the common kind of resource: a handle that is null when it owns nothing and goes back
// to the system through one function, such as DeleteObject or FreeLibrary.
template <typename H, auto FreeFunction>
struct NullableHandleTraits {
    using Handle = H;
    static H Invalid() noexcept { return nullptr; }
    static bool IsValid(H handle) noexcept { return handle != nullptr; }
    void Free(H handle) const noexcept { FreeFunction(handle); }
};

}  // namespace quillbeam
