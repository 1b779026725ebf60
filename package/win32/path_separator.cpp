#include "path_separator.h"

namespace quillbeam {

const char16_t kPathSeparator = u'\\';

}  // namespace quillbeam
