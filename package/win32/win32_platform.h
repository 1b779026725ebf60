#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "package_platform.h"

namespace quillbeam {

// The system calls through which files are written, finished and told apart. The program uses
// the real ones; tests replace some to make them fail as a failing device or a full disk would,
// or to answer as files on another volume would, in ways Windows cannot be asked for on demand.
// A replacement that fails sets the last error, as the real call does.
struct Win32Calls {
    std::function<BOOL(HANDLE file, const void* data, DWORD size, DWORD* written)> writeFile;
    std::function<BOOL(HANDLE handle)> closeHandle;
    std::function<BOOL(HANDLE file, BY_HANDLE_FILE_INFORMATION* info)> getFileInformation;
};
Win32Calls RealWin32Calls();

// Files through the Win32 wide-character calls, paths as UTF-16. A failure carries GetLastError()
// and names the operation and the path, followed by the system's own words. Messages are left to
// a subclass: this one has no user interface of its own.
class Win32FilePlatform : public PackagePlatform {
  public:
    explicit Win32FilePlatform(Win32Calls calls = RealWin32Calls()) : calls_(std::move(calls)) {}

    std::unique_ptr<OpenTextFile> WriteTextFile(std::u16string_view path,
                                                std::string_view bytes) override;
    void CopyAsset(std::u16string_view from, std::u16string_view to) override;

  private:
    Win32Calls calls_;
};

}  // namespace quillbeam
