#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quillbeam {

// The system's own words for a Windows error code (FormatMessageW), as UTF-8 without the line
// break Windows ends them with; "Windows error N" when the system has none.
std::string SystemText(DWORD error);

// Throws FileFailure(error, "<action> \"<path>\": <system words>"), the shape the POSIX layer's
// descriptions have. Pass GetLastError() read right after the call that failed.
[[noreturn]] void FailWithSystemError(DWORD error, std::string_view action,
                                      std::u16string_view path);

}  // namespace quillbeam
