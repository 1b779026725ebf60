#include "package_writer.h"

#include <memory>

#include "embed_page.h"
#include "package_format.h"
#include "path_join.h"
#include "variable_file.h"

namespace quillbeam {

void GeneratePackage(const BannerRequest& request, std::u16string_view applicationFolder,
                     PackagePlatform& platform) {
    using namespace package_format;
    // Each text file stays open until the next one has been opened; the page stays open until
    // the assets are copied.
    std::unique_ptr<OpenTextFile> openFile;
    auto writeText = [&](std::u16string_view name, std::string_view bytes) {
        auto next = platform.WriteTextFile(JoinPath(request.folder, name), bytes);
        if (openFile) openFile->Close();
        openFile = std::move(next);
    };

    for (std::size_t i = 0; i < kVariableFileNames.size(); ++i) {
        writeText(kVariableFileNames[i], BuildVariableFileText(request.messages[i], request.url));
    }
    writeText(kEmbeddingPageName, BuildEmbeddingPageText());

    const std::u16string templateFolder = JoinPath(applicationFolder, kTemplateFolderName);
    for (const std::u16string_view asset : {kMovieName, kPictureName}) {
        platform.CopyAsset(JoinPath(templateFolder, asset), JoinPath(request.folder, asset));
    }

    openFile->Close();
    // The seven files are complete: the player for browsers joins them, where the template has it.
    platform.CopyAssetIfPresent(JoinPath(templateFolder, kPlayerScriptName),
                                JoinPath(request.folder, kPlayerScriptName));
    platform.ShowMessage(kApplicationTitle, CompletionMessage());
}

}  // namespace quillbeam
