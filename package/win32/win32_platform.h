#pragma once

#include "package_platform.h"

namespace quillbeam {

// Files through the Win32 wide-character calls, paths as UTF-16. A failure carries GetLastError()
// and names the operation and the path, followed by the system's own words. Messages are left to
// a subclass: this one has no user interface of its own.
class Win32FilePlatform : public PackagePlatform {
  public:
    std::unique_ptr<OpenTextFile> WriteTextFile(std::u16string_view path,
                                                std::string_view bytes) override;
    void CopyAsset(std::u16string_view from, std::u16string_view to) override;
};

}  // namespace quillbeam
