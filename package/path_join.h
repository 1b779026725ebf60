#pragma once

#include <string>
#include <string_view>

#include "path_separator.h"

namespace quillbeam {

// folder + the platform's separator + name, with nothing normalised: on POSIX "a/" gives "a//name"
// and "" gives "/name".
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

}  // namespace quillbeam
