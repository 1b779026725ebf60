#pragma once

#include <string>
#include <string_view>

#include "banner_request.h"
#include "package_format.h"
#include "package_platform.h"

namespace quillbeam {

inline constexpr std::u16string_view kApplicationTitle = u"Quillbeam";
inline constexpr std::u16string_view kTemplateFolderName = u"Template";

// What Generate says once the package is complete.
inline std::u16string CompletionMessage() {
    std::u16string message =
        u"Done!\r\n"
        u"Upload all the files in the directory you chose to your server and place them in the "
        u"same directory as the page which will contain your banner.\r\n"
        u"Copy and paste the code from inside ";
    message += package_format::kEmbeddingPageName;
    message += u" into your HTML page where you want your animated banner to appear.";
    return message;
}

// The Generate command: writes the four variable files and the page into request.folder, copies
// the movie and the picture from applicationFolder/Template, then the player for browsers if the
// template has it, and shows the completion message.
// It stops at the first failing step and lets its FileFailure through; every file written before
// that step is complete on disk.
void GeneratePackage(const BannerRequest& request, std::u16string_view applicationFolder,
                     PackagePlatform& platform);

}  // namespace quillbeam
