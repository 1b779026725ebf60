#pragma once

#include <windows.h>

#include <cstddef>

namespace quillbeam::win32 {

// The Win32 control identifier of the table's control number `index`. They start above IDOK and
// IDCANCEL, which the keyboard interface sends for Enter and Escape, so that those do nothing.
inline constexpr int kFirstControlId = 100;
inline constexpr int ControlId(std::size_t index) {
    return kFirstControlId + static_cast<int>(index);
}

}  // namespace quillbeam::win32
