// Times the Generate command on Windows against the plainest copy of the same seven files:
//   win32_package_bench.exe [ROUNDS]
// Both write into a folder that already holds a package, in alternating rounds of one run, and
// the medians are compared: the ratio is what counts, not the absolute times.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "package_writer.h"
#include "quiet_platform.h"
#include "temp_folder.h"

namespace fs = std::filesystem;
using namespace quillbeam;

namespace {

const char* const kPackageFiles[] = {"mytext1.txt", "mytext2.txt",   "mytext3.txt",
                                     "mytext4.txt", "htmlcode.html", "bannerloop2.swf",
                                     "mypic.jpg"};

template <typename Work>
double Milliseconds(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    TempFolder temp;
    const fs::path app = temp / "app";
    const fs::path ready = temp / "ready";
    const fs::path generated = temp / "generated";
    const fs::path copied = temp / "copied";
    fs::create_directories(app / "Template");
    WriteFileBytes(app / "Template" / "bannerloop2.swf", std::string(50 << 20, 'm'));
    WriteFileBytes(app / "Template" / "mypic.jpg", std::string(4000, 'p'));
    for (const fs::path& folder : {ready, generated, copied}) fs::create_directories(folder);

    BannerRequest request;
    request.messages = {u"One", u"Two", u"Three", u"Four"};
    request.url = u"http://example.com/";
    QuietPlatform platform;
    for (const fs::path& folder : {ready, generated}) {
        request.folder = folder.u16string();
        GeneratePackage(request, app.u16string(), platform);
    }
    request.folder = generated.u16string();

    std::vector<double> generateTimes;
    std::vector<double> copyTimes;
    for (int round = 0; round < rounds; ++round) {
        generateTimes.push_back(
            Milliseconds([&] { GeneratePackage(request, app.u16string(), platform); }));
        copyTimes.push_back(Milliseconds([&] {
            for (const char* name : kPackageFiles) {
                if (!::CopyFileW((ready / name).c_str(), (copied / name).c_str(), FALSE)) {
                    std::fprintf(stderr, "CopyFileW failed: %lu\n", ::GetLastError());
                    std::exit(1);
                }
            }
        }));
    }
    const double generate = Median(generateTimes);
    const double copy = Median(copyTimes);
    std::printf("GeneratePackage, 50 MiB movie: %.1f ms (median of %d)\n", generate, rounds);
    std::printf("CopyFileW of the same 7 files: %.1f ms (median of %d)\n", copy, rounds);
    std::printf("ratio: %.2f\n", generate / copy);
    return 0;
}
