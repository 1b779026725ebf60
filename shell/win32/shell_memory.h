#pragma once

// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
// clang-format on

#include <memory>

namespace quillbeam::modAPI {

// An item list the shell allocated; freed with CoTaskMemFree when it goes.
struct ItemListFree {
    void operator()(ITEMIDLIST* list) const noexcept { CoTaskMemFree(list); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

// A block from LocalAlloc; freed with LocalFree when it goes.
struct LocalBlockFree {
    void operator()(void* block) const noexcept { LocalFree(block); }
};
using LocalBlock = std::unique_ptr<void, LocalBlockFree>;

}  // namespace quillbeam::modAPI
