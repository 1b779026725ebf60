#pragma once

namespace quillbeam {

// The separator JoinPath puts between a folder and a name on this platform.
inline constexpr char16_t kPathSeparator = u'\\';

}  // namespace quillbeam
