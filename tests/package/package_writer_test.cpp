#include "package_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "expected_package.h"
#include "file_failure.h"
#include "file_layer_checks.h"
#include "native_file_platform.h"
#include "path_join.h"
#include "temp_folder.h"
#include "variable_file.h"

namespace fs = std::filesystem;
using namespace quillbeam;

namespace {

// ENOENT and ERROR_FILE_NOT_FOUND: the same number on both platforms.
constexpr int kFileNotFound = 2;

BannerRequest RequestFor(const fs::path& folder) {
    BannerRequest request;
    request.folder = folder.u16string();
    request.messages = {u"Welcome!\r\nTwo lines", u"50% off & free + fast", u"Caf\u00E9 \u20AC5",
                        u"Bye"};
    request.url = u"http://example.com/?a=1&b=2";
    return request;
}

// Real files underneath; records every step (each write, copy and close) and message, and can
// fail any numbered step.
class ScriptedPlatform : public NativeFilePlatform {
  public:
    int failAtStep = 0;
    std::vector<std::string> log;
    std::vector<std::pair<std::u16string, std::u16string>> messages;

    std::unique_ptr<OpenTextFile> WriteTextFile(std::u16string_view path,
                                                std::string_view bytes) override {
        Step("write " + Name(path));
        return std::make_unique<LoggedFile>(*this, Name(path),
                                            NativeFilePlatform::WriteTextFile(path, bytes));
    }
    void CopyAsset(std::u16string_view from, std::u16string_view to) override {
        Step("copy " + Name(from));
        NativeFilePlatform::CopyAsset(from, to);
    }
    bool CopyAssetIfPresent(std::u16string_view from, std::u16string_view to) override {
        Step("copy if present " + Name(from));
        return NativeFilePlatform::CopyAssetIfPresent(from, to);
    }
    void ShowMessage(std::u16string_view caption, std::u16string_view text) override {
        log.push_back("message");
        messages.emplace_back(caption, text);
    }

  private:
    class LoggedFile : public OpenTextFile {
      public:
        LoggedFile(ScriptedPlatform& owner, std::string name, std::unique_ptr<OpenTextFile> file)
            : owner_(owner), name_(std::move(name)), file_(std::move(file)) {}
        void Close() override {
            owner_.Step("close " + name_);
            file_->Close();
        }

      private:
        ScriptedPlatform& owner_;
        std::string name_;
        std::unique_ptr<OpenTextFile> file_;
    };

    void Step(const std::string& what) {
        log.push_back(what);
        if (static_cast<int>(++steps_) == failAtStep) throw FileFailure(EIO, "injected: " + what);
    }
    static std::string Name(std::u16string_view path) { return fs::path(path).filename().string(); }
    unsigned steps_ = 0;
};

class GeneratePackageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MakeTemplateFolder(app);
        fs::create_directories(out);
    }

    void Generate(const BannerRequest& request) {
        GeneratePackage(request, app.u16string(), platform);
    }

    TempFolder temp;
    fs::path app = temp / "app";
    fs::path out = temp / "out";
    ScriptedPlatform platform;
};

}  // namespace

TEST_F(GeneratePackageTest, WritesTheSevenFilesInOrderThenThePlayerAndShowsTheCompletionMessage) {
    const BannerRequest request = RequestFor(out);
    Generate(request);

    EXPECT_EQ(PackageMismatches(out, request), "");
    EXPECT_EQ(ReadFileBytes(out / "bannerplayer.js"), kTemplatePlayer);
    EXPECT_EQ(
        ReadFileBytes(out / "mytext3.txt").substr(VariableFileFixedLength() + request.url.size()),
        "Caf\xE9 \x80"
        "5");
    // clang-format off
    const std::vector<std::string> expectedLog = {
        "write mytext1.txt", "write mytext2.txt",    "close mytext1.txt", "write mytext3.txt",
        "close mytext2.txt", "write mytext4.txt",    "close mytext3.txt", "write htmlcode.html",
        "close mytext4.txt", "copy bannerloop2.swf", "copy mypic.jpg",    "close htmlcode.html",
        "copy if present bannerplayer.js",       "message"};
    // clang-format on
    EXPECT_EQ(platform.log, expectedLog);

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first, u"Quillbeam");
    EXPECT_EQ(platform.messages[0].second,
              u"Done!\r\n"
              u"Upload all the files in the directory you chose to your server and place them in "
              u"the same directory as the page which will contain your banner.\r\n"
              u"Copy and paste the code from inside htmlcode.html into your HTML page where you "
              u"want your animated banner to appear.");
}

TEST_F(GeneratePackageTest, SecondRunReplacesThePackageAndLeavesOtherFilesAlone) {
    WriteFileBytes(out / "index.html", "the user's own page");
    Generate(RequestFor(out));
    BannerRequest second = RequestFor(out);
    second.messages[0] = u"Changed";
    // Longer than what replaces them, the assets too.
    for (const auto& [name, bytes] : ExpectedPackage(second)) {
        WriteFileBytes(out / name, std::string(5000, 'x'));
    }
    Generate(second);

    EXPECT_EQ(PackageMismatches(out, second), "");
    EXPECT_EQ(ReadFileBytes(out / "index.html"), "the user's own page");
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 9);
    EXPECT_EQ(platform.messages.size(), 2u);
}

// A template of the user's own may have no player: the seven files come all the same, and a
// player an earlier package left in the folder stays as it was.
TEST_F(GeneratePackageTest, TemplateWithoutThePlayerStillGivesTheSevenFilesAndDone) {
    fs::remove(app / "Template" / "bannerplayer.js");
    WriteFileBytes(out / "bannerplayer.js", "an earlier player");
    const BannerRequest request = RequestFor(out);
    Generate(request);
    EXPECT_EQ(PackageMismatches(out, request), "");
    EXPECT_EQ(ReadFileBytes(out / "bannerplayer.js"), "an earlier player");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].second.starts_with(u"Done!\r\n"));
}

TEST_F(GeneratePackageTest, MissingPictureLeavesEverythingBeforeItComplete) {
    fs::remove(app / "Template" / "mypic.jpg");
    const BannerRequest request = RequestFor(out);
    const FileFailure failure = FailureOf([&] { Generate(request); });
    EXPECT_EQ(failure.number(), kFileNotFound);
    EXPECT_NE(failure.description().find((app / "Template" / "mypic.jpg").string()),
              std::string::npos);
    EXPECT_EQ(PackageMismatches(out, request), "mypic.jpg: missing\n");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(GeneratePackageTest, FailureAtAnyStepKeepsEarlierFilesCompleteAndShowsNoMessage) {
    const BannerRequest request = RequestFor(out);
    Generate(request);
    std::vector<std::string> steps = platform.log;
    steps.pop_back();  // the message
    for (std::size_t step = 1; step <= steps.size(); ++step) {
        SCOPED_TRACE("failing at " + steps[step - 1]);
        fs::remove_all(out);
        fs::create_directories(out);
        ScriptedPlatform failing;
        failing.failAtStep = static_cast<int>(step);
        const FileFailure failure =
            FailureOf([&] { GeneratePackage(request, app.u16string(), failing); });
        EXPECT_EQ(failure.description(), "injected: " + steps[step - 1]);
        EXPECT_TRUE(failing.messages.empty());
        // Each file written or copied before the failing step is complete; the others are absent.
        const auto done = std::span(steps).first(step - 1);
        std::string absent;
        for (const auto& file : ExpectedPackage(request)) {
            const std::string& name = file.first;
            const auto made = [&](const std::string& how) {
                return std::ranges::count(done, how + name);
            };
            if (made("write ") + made("copy ") == 0) absent += name + ": missing\n";
        }
        EXPECT_EQ(PackageMismatches(out, request), absent);
    }
}

TEST_F(GeneratePackageTest, FolderEndingInSeparatorGivesTwoSeparatorsThatWork) {
    BannerRequest request = RequestFor(out);
    request.folder += kPathSeparator;
    Generate(request);
    EXPECT_EQ(ReadFileBytes(out / "mytext1.txt"),
              BuildVariableFileText(request.messages[0], request.url));
    EXPECT_EQ(ReadFileBytes(out / "mypic.jpg"), kTemplatePicture);
}

TEST(GeneratePackagePaths, EmptyFolderAimsEveryFileAtTheRoot) {
    // Records paths only; nothing touches the disk.
    struct PathRecorder : PackagePlatform {
        std::vector<std::u16string> paths;
        struct NoFile : OpenTextFile {
            void Close() override {}
        };
        std::unique_ptr<OpenTextFile> WriteTextFile(std::u16string_view path,
                                                    std::string_view) override {
            paths.emplace_back(path);
            return std::make_unique<NoFile>();
        }
        void CopyAsset(std::u16string_view from, std::u16string_view to) override {
            paths.emplace_back(from);
            paths.emplace_back(to);
        }
        bool CopyAssetIfPresent(std::u16string_view from, std::u16string_view to) override {
            CopyAsset(from, to);
            return true;
        }
        void ShowMessage(std::u16string_view, std::u16string_view) override {}
    } recorder;
    GeneratePackage(BannerRequest{}, u"app", recorder);
    std::vector<std::u16string> expected = {u"/mytext1.txt",     u"/mytext2.txt",
                                            u"/mytext3.txt",     u"/mytext4.txt",
                                            u"/htmlcode.html",   u"app/Template/bannerloop2.swf",
                                            u"/bannerloop2.swf", u"app/Template/mypic.jpg",
                                            u"/mypic.jpg",       u"app/Template/bannerplayer.js",
                                            u"/bannerplayer.js"};
    for (std::u16string& path : expected) {
        std::replace(path.begin(), path.end(), u'/', kPathSeparator);
    }
    EXPECT_EQ(recorder.paths, expected);
}
