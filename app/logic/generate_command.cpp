#include "generate_command.h"

#include "application_folder.h"
#include "package_writer.h"
#include "request_boxes.h"
#include "utf8.h"

namespace quillbeam::window {

BannerRequest RequestFromBoxes(const BoxText& textOf) {
    BannerRequest request;
    for (const layout::Role role : kRequestBoxes) TextOfBox(request, role) = textOf(role);
    return request;
}

std::u16string FailureReportText(const FileFailure& failure) {
    return u"Error " + FromUtf8(std::to_string(failure.number())) + u": " +
           FromUtf8(failure.description());
}

std::optional<std::u16string> RunGenerate(const BannerRequest& request,
                                          const std::optional<std::u16string>& applicationFolder,
                                          PackagePlatform& platform) {
    try {
        GeneratePackage(request, applicationFolder ? *applicationFolder : ExecutableFolder(),
                        platform);
    } catch (const FileFailure& failure) {
        return FailureReportText(failure);
    }
    return std::nullopt;
}

}  // namespace quillbeam::window
