#pragma once

#include <functional>
#include <optional>
#include <string>

#include "banner_request.h"
#include "file_failure.h"
#include "package_platform.h"
#include "window_layout.h"

// The Generate command as both windows run it; each window only reads its boxes and shows the
// messages.
namespace quillbeam::window {

// The text a box of the window holds now, asked for by the box's role.
using BoxText = std::function<std::u16string(layout::Role)>;

// The banner request as the boxes hold it: the folder, the four messages and the address.
BannerRequest RequestFromBoxes(const BoxText& textOf);

// The failure report's text: "Error ", the failure's number, ": " and its description.
std::u16string FailureReportText(const FileFailure& failure);

// Generates the package for `request` from the Template folder in `applicationFolder`, or in the
// running executable's folder when none is given. Returns the failure report's text when a file
// operation failed, and nothing when the package is complete.
std::optional<std::u16string> RunGenerate(const BannerRequest& request,
                                          const std::optional<std::u16string>& applicationFolder,
                                          PackagePlatform& platform);

}  // namespace quillbeam::window
