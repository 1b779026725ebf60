#include "browse_flags.h"

namespace quillbeam::modAPI {

std::uint32_t BrowseFlags(const ChooserSwitches& switches) {
    using namespace browse_flag;
    std::uint32_t flags = kReturnOnlyFileSystemFolders | kDontGoBelowDomain;
    if (switches.newStyle) flags |= kNewDialogStyle;
    if (switches.statusAndValidate) flags |= kStatusText | kValidate;
    if (switches.editBox) flags |= kEditBox;
    if (switches.includeFiles) flags |= kIncludeFiles;
    return flags;
}

}  // namespace quillbeam::modAPI
