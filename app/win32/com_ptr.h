#pragma once

#include <unknwn.h>

#include "unique_resource.h"

namespace quillbeam::win32 {

// One reference to a COM object, given back with Release when it goes.
template <typename Interface>
struct ComReferenceTraits {
    using Handle = Interface*;
    static Interface* Invalid() noexcept { return nullptr; }
    static bool IsValid(Interface* object) noexcept { return object != nullptr; }
    void Free(Interface* object) const noexcept { object->Release(); }
};
template <typename Interface>
using ComPtr = UniqueResource<ComReferenceTraits<Interface>>;

}  // namespace quillbeam::win32
