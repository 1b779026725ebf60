#pragma once

#include <memory>
#include <string_view>
#include <utility>

#include "package_platform.h"
// The platform's calls, NativeCalls (posix_calls.h, win32_calls.h): the build names the header of
// the platform it is for.
#include QUILLBEAM_PLATFORM_CALLS_HEADER

namespace quillbeam {

// The file layer of the platform being built: one class, whose operations are written once
// (native_file_platform.cpp) from the platform's own single steps (native_steps.h). Its system
// calls come through NativeCalls, so that tests can make any of them fail.
// A failure carries the system's error number and is described on every platform as
// <action> "<path>": <the system's words> (FailureAt). Messages are left to a subclass: this one
// has no user interface of its own.
class NativeFilePlatform : public PackagePlatform {
  public:
    NativeFilePlatform();  // with the real calls
    explicit NativeFilePlatform(NativeCalls calls) : calls_(std::move(calls)) {}

    std::unique_ptr<OpenTextFile> WriteTextFile(std::u16string_view path,
                                                std::string_view bytes) override;
    void CopyAsset(std::u16string_view from, std::u16string_view to) override;
    bool CopyAssetIfPresent(std::u16string_view from, std::u16string_view to) override;

  private:
    enum class Absent { kFails, kSkipped };
    bool Copy(std::u16string_view from, std::u16string_view to, Absent absent);

    NativeCalls calls_;
};

}  // namespace quillbeam
