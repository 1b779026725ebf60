#pragma once

namespace quillbeam {

// The separator JoinPath puts between a folder and a name on this platform: each platform's
// folder defines it.
extern const char16_t kPathSeparator;

}  // namespace quillbeam
