// The bad inputs a user can give, each run through the whole Generate command on real files.
// Every row ends in a complete package or a clear report, and nothing already on disk that is
// not being replaced changes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>

#include "expected_package.h"
#include "file_failure.h"
#include "package_writer.h"
#include "posix_platform.h"
#include "temp_folder.h"
#include "utf8.h"
#include "variable_file.h"

namespace fs = std::filesystem;
using namespace quillbeam;

namespace {

const std::set<std::string> kPackageNames = {"mytext1.txt", "mytext2.txt",   "mytext3.txt",
                                             "mytext4.txt", "htmlcode.html", "bannerloop2.swf",
                                             "mypic.jpg"};

// Takes every absolute path inside a sandbox folder, so that "/" is the sandbox's root: an empty
// folder text then lands there instead of at the machine's root.
class SandboxPlatform : public PosixFilePlatform {
  public:
    explicit SandboxPlatform(const fs::path& root) : root_(FromUtf8(root.string())) {}
    std::unique_ptr<OpenTextFile> WriteTextFile(std::u16string_view path,
                                                std::string_view bytes) override {
        return PosixFilePlatform::WriteTextFile(Inside(path), bytes);
    }
    void CopyAsset(std::u16string_view from, std::u16string_view to) override {
        PosixFilePlatform::CopyAsset(Inside(from), Inside(to));
    }
    void ShowMessage(std::u16string_view, std::u16string_view) override { ++messages; }
    int messages = 0;

  private:
    std::u16string Inside(std::u16string_view path) const { return root_ + std::u16string(path); }
    std::u16string root_;
};

BannerRequest TypicalRequest() {
    BannerRequest request;
    request.folder = u"/out";
    request.messages = {u"Text2\r\n", u"Text3", u"Text4", u"Text5"};
    request.url = u"Text6";
    return request;
}

struct BadInput {
    std::string name;
    std::function<void(const fs::path& sandbox)> prepare;
    std::function<void(BannerRequest&)> edit;
    int expectedError;         // 0: a complete package is expected
    std::string packageAt;     // where it lands, inside the sandbox
    std::string missing = {};  // the package's files it lacks after a failure (PackageMismatches)
};

std::vector<BadInput> BadInputs() {
    const auto nothing = [](const fs::path&) {};
    const auto same = [](BannerRequest&) {};
    return {
        {"empty folder", nothing, [](BannerRequest& r) { r.folder.clear(); }, 0, ""},
        {"Template missing", [](const fs::path& s) { fs::remove_all(s / "app/Template"); }, same,
         ENOENT, "out", "bannerloop2.swf: missing\nmypic.jpg: missing\n"},
        {"movie missing", [](const fs::path& s) { fs::remove(s / "app/Template/bannerloop2.swf"); },
         same, ENOENT, "out", "bannerloop2.swf: missing\nmypic.jpg: missing\n"},
        {"output folder is Template", nothing,
         [](BannerRequest& r) { r.folder = u"/app/Template"; }, 0, "app/Template"},
        {"output folder through a link",
         [](const fs::path& s) { fs::create_directory_symlink(s / "out", s / "link"); },
         [](BannerRequest& r) { r.folder = u"/link"; }, 0, "out"},
        {"NUL characters", nothing,
         [](BannerRequest& r) {
             r.messages[1] = std::u16string(u"before\0after", 12);
             r.url = std::u16string(u"a\0b", 3);
         },
         0, "out"},
        {"1 MiB message", nothing,
         [](BannerRequest& r) { r.messages[2] = std::u16string(1 << 20, u'm'); }, 0, "out"},
        {"characters outside Windows-1252 and lone surrogates", nothing,
         [](BannerRequest& r) {
             r.messages[3] = u"\u4E2D\u6587 \U0001F600 ";
             r.messages[3] += static_cast<char16_t>(0xD800);
             r.url = std::u16string(1, static_cast<char16_t>(0xDC00)) + u"\u0100";
         },
         0, "out"},
    };
}

void MakeSandbox(const fs::path& sandbox) {
    MakeTemplateFolder(sandbox / "app");
    fs::create_directories(sandbox / "out");
    WriteFileBytes(sandbox / "out/index.html", "the user's own page");
    WriteFileBytes(sandbox / "out/mytext4.txt", "an earlier package's file");
}

// Runs `input` through the Generate command: it must end in a complete package, or in a clear
// report and no completion message.
void ExpectCompletePackageOrAClearReport(const BadInput& input) {
    SCOPED_TRACE(input.name);
    TempFolder temp;
    const fs::path sandbox = temp.path();
    MakeSandbox(sandbox);
    input.prepare(sandbox);
    BannerRequest request = TypicalRequest();
    input.edit(request);
    const auto before = FilesUnder(sandbox);

    SandboxPlatform platform(sandbox);
    try {
        GeneratePackage(request, u"/app", platform);
        EXPECT_EQ(input.expectedError, 0) << "reported success";
        EXPECT_EQ(platform.messages, 1);
    } catch (const FileFailure& failure) {
        EXPECT_EQ(failure.number(), input.expectedError) << failure.description();
        EXPECT_NE(failure.description().find(std::strerror(input.expectedError)),
                  std::string::npos);
        EXPECT_EQ(platform.messages, 0);
    }
    // The files written are complete, and files that are not the package's keep every byte.
    EXPECT_EQ(PackageMismatches(sandbox / input.packageAt, request), input.missing);
    for (const auto& [name, bytes] : before) {
        const fs::path path = sandbox / name;
        if (path.parent_path() != sandbox / "out" ||
            !kPackageNames.contains(path.filename().string())) {
            EXPECT_EQ(ReadFileBytes(path), bytes) << name;
        }
    }
}

// Runs `operation` in a child process, for limits and mounts that must not touch the test
// itself, and returns what it returned; -1 when the child yields nothing.
int InChildProcess(const std::function<int()>& operation) {
    int channel[2];
    if (::pipe(channel) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const int result = operation();
        [[maybe_unused]] const auto written = ::write(channel[1], &result, sizeof result);
        ::_exit(0);
    }
    ::close(channel[1]);
    int result = -1;
    if (child < 0 || ::read(channel[0], &result, sizeof result) != sizeof result) result = -1;
    ::close(channel[0]);
    if (child > 0) ::waitpid(child, nullptr, 0);
    return result;
}

// The Generate command's error number, or 0 when it showed its completion message.
int GenerateIn(const fs::path& sandbox) {
    SandboxPlatform platform(sandbox);
    try {
        GeneratePackage(TypicalRequest(), u"/app", platform);
        return platform.messages == 1 ? 0 : -3;
    } catch (const FileFailure& failure) {
        return failure.number();
    }
}

}  // namespace

TEST(BadInputs, EachEndsInACompletePackageOrAClearReport) {
    for (const BadInput& input : BadInputs()) ExpectCompletePackageOrAClearReport(input);
}

// A file-size limit makes the kernel write part of a file and then refuse with EFBIG: the
// Generate command must report it, not complete.
TEST(BadInputs, FileSizeLimitIsReported) {
    TempFolder temp;
    MakeSandbox(temp.path());
    constexpr rlim_t kLimit = 100;  // smaller than any variable file
    const int result = InChildProcess([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{kLimit, kLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return -2;
        return GenerateIn(temp.path());
    });
    EXPECT_EQ(result, EFBIG);
    EXPECT_EQ(fs::file_size(temp / "out" / "mytext1.txt"), kLimit) << "the write stopped short";
}

TEST(BadInputs, ReadOnlyMountIsReported) {
    TempFolder temp;
    MakeSandbox(temp.path());
    const fs::path out = temp / "out";
    // The mount is made in a namespace of a child process, so nothing outside the test sees it.
    const int result = InChildProcess([&] {
        const bool mounted =
            ::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            ::mount(out.c_str(), out.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
            ::mount(nullptr, out.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
        return mounted ? GenerateIn(temp.path()) : -2;
    });
    if (result == -2) GTEST_SKIP() << "this machine does not allow a private mount namespace";
    EXPECT_EQ(result, EROFS);
    EXPECT_EQ(ReadFileBytes(out / "mytext4.txt"), "an earlier package's file");
    EXPECT_FALSE(fs::exists(out / "mytext1.txt"));
}
