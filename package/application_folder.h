#pragma once

#include <string>

namespace quillbeam {

// The folder that holds the running executable, with links resolved, so that the Template folder
// is found beside the real executable whatever the working folder or the name it was started by.
// Throws FileFailure when the platform cannot say.
std::u16string ExecutableFolder();

}  // namespace quillbeam
