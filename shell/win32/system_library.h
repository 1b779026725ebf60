#pragma once

#include <windows.h>

#include "unique_resource.h"

namespace quillbeam::modAPI {

// A loaded library, freed with FreeLibrary when it goes.
using Library = UniqueResource<NullableHandleTraits<HMODULE, &::FreeLibrary>>;

// A system library loaded when one of its functions is first wanted rather than when the program
// starts: the shell's libraries serve only Browse and the links, and cost every start time and
// memory. Loaded from the system folder only, never from beside the program or the current
// folder. Used on one thread.
class SystemLibrary {
  public:
    explicit SystemLibrary(const wchar_t* name) noexcept : name_(name) {}

    // The library's export `name` (a name, or a number made with MAKEINTRESOURCEA) as a pointer
    // to `Declared`, the function's own declaration; none when the library or the export is
    // missing.
    template <typename Declared>
    Declared* Find(const char* name) {
        if (!module_) Load();
        if (!module_) return nullptr;
        // GetProcAddress hands back a generic function pointer whatever the export's signature.
        return reinterpret_cast<Declared*>(
            reinterpret_cast<void*>(GetProcAddress(module_.get(), name)));
    }

  private:
    void Load() { module_ = Library(LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)); }

    const wchar_t* name_;
    Library module_;
};

}  // namespace quillbeam::modAPI
