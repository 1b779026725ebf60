#pragma once

#include <windows.h>

#include <string>

namespace quillbeam {

// The system's own words for a Windows error code (FormatMessageW), as UTF-8 without the line
// break Windows ends them with; "Windows error N" when the system has none.
std::string SystemText(DWORD error);

}  // namespace quillbeam
