#pragma once

#include <string>
#include <string_view>

namespace quillbeam {

inline constexpr char16_t kPathSeparator = u'/';

// folder + separator + name, with nothing normalised: "a/" gives "a//name" and "" gives "/name".
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

}  // namespace quillbeam
