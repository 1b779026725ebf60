#pragma once

// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
// clang-format on

#include "unique_resource.h"

namespace quillbeam::modAPI {

// An item list the shell allocated; freed with CoTaskMemFree when it goes.
using ItemList = UniqueResource<NullableHandleTraits<ITEMIDLIST*, &::CoTaskMemFree>>;

}  // namespace quillbeam::modAPI
