#pragma once

#include "package_platform.h"

namespace quillbeam {

// Files through POSIX calls, paths as UTF-8. A failure carries errno and names the operation and
// the path. Messages are left to a subclass: this one has no user interface of its own.
class PosixFilePlatform : public PackagePlatform {
public:
    std::unique_ptr<OpenTextFile> WriteTextFile(std::u16string_view path,
                                                std::string_view bytes) override;
    void CopyAsset(std::u16string_view from, std::u16string_view to) override;
};

}  // namespace quillbeam
