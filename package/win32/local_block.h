#pragma once

#include <windows.h>

#include "unique_resource.h"

namespace quillbeam {

// A block from the local heap: made with LocalAlloc, or allocated by a call such as FormatMessageW
// for its answer. Freed with LocalFree when it goes.
template <typename Pointer = void*>
using LocalBlock = UniqueResource<NullableHandleTraits<Pointer, &::LocalFree>>;

}  // namespace quillbeam
