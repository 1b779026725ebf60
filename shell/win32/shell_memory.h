#pragma once

#include <functional>

#include "shell_calls.h"
#include "unique_resource.h"

namespace quillbeam::modAPI {

// Memory the chooser was handed, freed once, when it goes, through the call of the ShellCalls it
// came from: a test's own calls see it freed as the real ones free it.
template <typename Pointer>
struct FreedThroughCall {
    using Handle = Pointer;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer memory) noexcept { return memory != nullptr; }
    void Free(Pointer memory) const noexcept { free(memory); }

    std::function<void(Pointer)> free;
};

// An item list the shell allocated; freed with taskMemFree (CoTaskMemFree).
using ItemList = UniqueResource<FreedThroughCall<ITEMIDLIST*>>;
inline ItemList HeldItemList(const ShellCalls& calls, ITEMIDLIST* items) {
    return ItemList(items, {[free = calls.taskMemFree](ITEMIDLIST* memory) { free(memory); }});
}

// A block from the local heap; freed with localFree (LocalFree).
using LocalMemory = UniqueResource<FreedThroughCall<HLOCAL>>;
inline LocalMemory HeldLocalMemory(const ShellCalls& calls, HLOCAL block) {
    return LocalMemory(block, {[free = calls.localFree](HLOCAL memory) { free(memory); }});
}

}  // namespace quillbeam::modAPI
