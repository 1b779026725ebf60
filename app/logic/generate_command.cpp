#include "generate_command.h"

#include "application_folder.h"
#include "package_writer.h"
#include "utf8.h"

namespace quillbeam::window {

using layout::Role;

BannerRequest RequestFromBoxes(const BoxText& textOf) {
    return {textOf(Role::Folder),
            {textOf(Role::Message1), textOf(Role::Message2), textOf(Role::Message3),
             textOf(Role::Message4)},
            textOf(Role::Address)};
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
