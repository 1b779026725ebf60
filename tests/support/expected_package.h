#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "banner_request.h"
#include "embed_page.h"
#include "temp_folder.h"
#include "variable_file.h"

// The package a Generate command must leave, for the tests of every layer that runs one. Free of
// any test framework: a test compares PackageMismatches with the empty text.

// The movie, the picture and the player MakeTemplateFolder puts into a test's Template folder.
inline const std::string kTemplateMovie =
    std::string("FWS\x06movie", 9) + std::string(1000, '\0') + "end";
inline const std::string kTemplatePicture = "\xFF\xD8\xFF\xE0picture\xFF\xD9";
inline const std::string kTemplatePlayer = "(function () { /* the player */ })();\n";

// The bytes every variable file holds besides its address and its message, which add one byte for
// each of their UTF-16 units: the file of an empty message and address.
inline std::size_t VariableFileFixedLength() {
    return quillbeam::BuildVariableFileText(u"", u"").size();
}

// applicationFolder/Template, holding kTemplateMovie, kTemplatePicture and kTemplatePlayer.
inline void MakeTemplateFolder(const std::filesystem::path& applicationFolder) {
    std::filesystem::create_directories(applicationFolder / "Template");
    WriteFileBytes(applicationFolder / "Template" / "bannerloop2.swf", kTemplateMovie);
    WriteFileBytes(applicationFolder / "Template" / "mypic.jpg", kTemplatePicture);
    WriteFileBytes(applicationFolder / "Template" / "bannerplayer.js", kTemplatePlayer);
}

// The seven files of the package for `request`, by name and bytes, in the order they are written.
inline std::vector<std::pair<std::string, std::string>> ExpectedPackage(
    const quillbeam::BannerRequest& request) {
    std::vector<std::pair<std::string, std::string>> files;
    for (std::size_t i = 0; i < 4; ++i) {
        files.emplace_back("mytext" + std::to_string(i + 1) + ".txt",
                           quillbeam::BuildVariableFileText(request.messages[i], request.url));
    }
    files.emplace_back("htmlcode.html", quillbeam::BuildEmbeddingPageText());
    files.emplace_back("bannerloop2.swf", kTemplateMovie);
    files.emplace_back("mypic.jpg", kTemplatePicture);
    return files;
}

// One line for each file in `folder` that does not hold the bytes of ExpectedPackage(request);
// empty when the package is complete. A variable file must also hold one byte for each UTF-16
// unit of the address and the message, whatever they are (NUL, surrogates, characters that
// Windows-1252 lacks).
inline std::string PackageMismatches(const std::filesystem::path& folder,
                                     const quillbeam::BannerRequest& request) {
    std::string mismatches;
    const auto files = ExpectedPackage(request);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto& [name, expected] = files[i];
        const std::filesystem::path path = folder / name;
        const std::size_t size =
            i < 4 ? VariableFileFixedLength() + request.url.size() + request.messages[i].size()
                  : expected.size();
        if (!std::filesystem::is_regular_file(path)) {
            mismatches += name + ": missing\n";
        } else if (const std::string bytes = ReadFileBytes(path);
                   bytes != expected || bytes.size() != size) {
            mismatches += name + ": " + std::to_string(bytes.size()) + " bytes, not the " +
                          std::to_string(size) + " expected, or other bytes\n";
        }
    }
    return mismatches;
}
