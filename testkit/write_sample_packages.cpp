// Writes eight packages from eight fixed requests through the Generate command and the file layer
// of the platform it was built for:
//   write_sample_packages OUTPUT_FOLDER [APPLICATION_FOLDER]
// Package N goes into OUTPUT_FOLDER/N; Template/ is looked for in APPLICATION_FOLDER, by default
// beside the program. Built for Linux and for Windows, the two outputs must be byte-identical.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "application_folder.h"
#include "file_failure.h"
#include "package_writer.h"
#include "quiet_platform.h"

namespace fs = std::filesystem;
using namespace quillbeam;

namespace {

// Each request stresses one part of the text a package holds.
std::vector<BannerRequest> SampleRequests() {
    std::u16string longMessage;
    while (longMessage.size() < 20000) longMessage += u"Line of a long message <b>&amp;</b>\r\n";
    return {
        {u"", {u"Welcome", u"to", u"our", u"site"}, u"http://example.com/"},
        {u"", {u"Two\r\nlines", u"\r\n", u"Three\r\nmore\r\nlines", u"End\r\n"}, u"http://a.b/"},
        {u"",
         {u"Caf\u00E9 \u20AC5", u"\u201Cquoted\u201D", u"Se\u00F1or \u00FCber", u"\u00A9"},
         u"http://example.com/caf\u00E9"},
        {u"",
         {u"\u0101 best fit", u"\U0001F600 pair", u"lone \xD800 high", u"lone \xDC00 low"},
         u"http://example.com/\U0001F600"},
        {u"",
         {u"50% off & free + fast", u"a=b&c=d", u"<script>\"'", u"tab\there"},
         u"http://example.com/?a=1&b=2#top"},
        {u"", {u"", u"", u"", u""}, u""},
        {u"", {longMessage, u"x", longMessage, u"y"}, u"https://example.com/long"},
        {u"",
         {u"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144 \U0001F600 "
          u"\u041F\u0440\u0438\u0432\u0435\u0442",
          u"\uFF21\uFF42\uFF43 \u2010 \u2264 \u0150\u015E\u0130", u"\u200B\u0300", u"\u0416"},
         u"http://\u043F\u0440\u0438\u043C\u0435\u0440.\u0440\u0444/"},
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: write_sample_packages OUTPUT_FOLDER [APPLICATION_FOLDER]\n";
        return 2;
    }
    try {
        const fs::path root(argv[1]);
        const std::u16string application =
            argc == 3 ? fs::path(argv[2]).u16string() : ExecutableFolder();
        QuietPlatform platform;
        int number = 0;
        for (BannerRequest request : SampleRequests()) {
            const fs::path folder = root / std::to_string(++number);
            fs::create_directories(folder);
            request.folder = folder.u16string();
            GeneratePackage(request, application, platform);
        }
    } catch (const FileFailure& failure) {
        std::cerr << "Generate failed (" << failure.number() << "): " << failure.description()
                  << "\n";
        return 1;
    } catch (const fs::filesystem_error& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
    return 0;
}
