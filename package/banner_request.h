#pragma once

#include <array>
#include <string>

namespace quillbeam {

// The six texts of one Generate command, exactly as the window holds them: nothing is trimmed,
// validated or escaped on the way to the files.
struct BannerRequest {
    std::u16string folder;
    std::array<std::u16string, 4> messages;
    std::u16string url;
};

}  // namespace quillbeam
