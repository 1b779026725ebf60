// Makes a banner package through the Generate command, as the window's Generate! button does:
//   make_package OUTPUT_FOLDER APPLICATION_FOLDER URL MESSAGE1 MESSAGE2 MESSAGE3 MESSAGE4
// Texts are UTF-8; a line break in a message is passed as CR LF, as the window delivers it. The
// completion message goes to standard output; a FileFailure ends it with its description.
#include <cstdio>
#include <iostream>

#include "file_failure.h"
#include "package_writer.h"
#include "posix_platform.h"
#include "utf8.h"

namespace {

class PrintingPlatform : public quillbeam::PosixFilePlatform {
  public:
    void ShowMessage(std::u16string_view caption, std::u16string_view text) override {
        std::cout << quillbeam::ToUtf8(caption) << ": " << quillbeam::ToUtf8(text) << "\n";
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::cerr << "usage: make_package OUTPUT_FOLDER APPLICATION_FOLDER URL M1 M2 M3 M4\n";
        return 2;
    }
    quillbeam::BannerRequest request;
    request.folder = quillbeam::FromUtf8(argv[1]);
    request.url = quillbeam::FromUtf8(argv[3]);
    for (std::size_t i = 0; i < request.messages.size(); ++i) {
        request.messages[i] = quillbeam::FromUtf8(argv[4 + i]);
    }
    PrintingPlatform platform;
    try {
        quillbeam::GeneratePackage(request, quillbeam::FromUtf8(argv[2]), platform);
    } catch (const quillbeam::FileFailure& failure) {
        std::cerr << "Generate failed (" << failure.number() << "): " << failure.description()
                  << "\n";
        return 1;
    }
    return 0;
}
