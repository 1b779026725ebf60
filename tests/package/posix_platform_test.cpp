#include "posix_platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "file_failure.h"
#include "file_layer_checks.h"
#include "temp_folder.h"
#include "utf8.h"

namespace fs = std::filesystem;
using quillbeam::FileFailure;
using quillbeam::FromUtf8;

namespace {

// The file operations under test; messages go nowhere.
struct PosixPlatform : quillbeam::PosixFilePlatform {
    void ShowMessage(std::u16string_view, std::u16string_view) override {}
};

std::u16string U16(const fs::path& path) {
    return FromUtf8(path.string());
}

}  // namespace

TEST(PosixWriteTextFile, ReplacesTheWholeFileWithExactlyTheBytes) {
    TempFolder temp;
    PosixPlatform platform;
    WriteFileBytes(temp / "a.txt", std::string(10000, 'x'));
    const std::string bytes("one\r\ntwo\0three\x93", 15);
    auto file = platform.WriteTextFile(U16(temp / "a.txt"), bytes);
    EXPECT_EQ(ReadFileBytes(temp / "a.txt"), bytes) << "complete before the file is closed";
    file->Close();
    file->Close();  // a second close is harmless
    EXPECT_EQ(ReadFileBytes(temp / "a.txt"), bytes);
}

TEST(PosixWriteTextFile, ReportsEachWayAWriteCanFail) {
    TempFolder temp;
    PosixPlatform platform;
    WriteFileBytes(temp / "plain-file", "");
    fs::create_directory(temp / "folder");
    struct Case {
        fs::path path;
        int number;
        std::string description;
    };
    const Case cases[] = {
        {"/dev/full", ENOSPC, "Cannot write to \"/dev/full\": No space left on device"},
        {temp / "plain-file" / "x.txt", ENOTDIR, "Not a directory"},
        {temp / std::string(300, 'n'), ENAMETOOLONG, "File name too long"},
        {temp / "missing" / "x.txt", ENOENT, "No such file or directory"},
        {temp / "folder", EISDIR, "Is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.string());
        const FileFailure failure =
            FailureOf([&] { platform.WriteTextFile(U16(c.path), "some text"); });
        EXPECT_EQ(failure.number(), c.number);
        const std::string description = failure.description();
        EXPECT_NE(description.find(c.description), std::string::npos) << description;
        EXPECT_NE(description.find(c.path.string()), std::string::npos) << description;
    }
}

TEST(PosixCopyAsset, CopiesByteForByteAndReplacesTheDestination) {
    TempFolder temp;
    PosixPlatform platform;
    const std::string bytes = RandomBytes(3 << 20);
    WriteFileBytes(temp / "source", bytes);
    WriteFileBytes(temp / "dest", std::string(4 << 20, 'x'));
    platform.CopyAsset(U16(temp / "source"), U16(temp / "dest"));
    EXPECT_EQ(ReadFileBytes(temp / "dest"), bytes);

    WriteFileBytes(temp / "empty", "");
    platform.CopyAsset(U16(temp / "empty"), U16(temp / "dest"));
    EXPECT_EQ(fs::file_size(temp / "dest"), 0u);
}

TEST(PosixCopyAsset, ACopyOfAReadOnlyAssetIsWritable) {
    TempFolder temp;
    PosixPlatform platform;
    WriteFileBytes(temp / "source", "asset");
    fs::permissions(temp / "source", fs::perms::owner_read | fs::perms::group_read);
    platform.CopyAsset(U16(temp / "source"), U16(temp / "dest"));
    EXPECT_NE(fs::status(temp / "dest").permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST(PosixCopyAsset, CopyOntoItselfLosesNothing) {
    TempFolder temp;
    PosixPlatform platform;
    const std::string bytes = RandomBytes(100000);
    fs::create_directory(temp / "Template");
    WriteFileBytes(temp / "Template" / "movie", bytes);
    fs::create_hard_link(temp / "Template" / "movie", temp / "hard-link");
    fs::create_symlink(temp / "Template" / "movie", temp / "symlink");
    const fs::path sameFile[] = {temp / "Template" / "movie",
                                 temp / "Template" / ".." / "Template" / "movie",
                                 temp / "hard-link", temp / "symlink"};
    for (const fs::path& dest : sameFile) {
        platform.CopyAsset(U16(temp / "Template" / "movie"), U16(dest));
        EXPECT_EQ(ReadFileBytes(temp / "Template" / "movie"), bytes) << dest;
    }
}

TEST(PosixCopyAsset, ReportsMissingSourcesAndFullDisks) {
    TempFolder temp;
    PosixPlatform platform;
    WriteFileBytes(temp / "source", RandomBytes(300000));
    fs::create_directory(temp / "folder");

    FileFailure missing =
        FailureOf([&] { platform.CopyAsset(U16(temp / "nothing"), U16(temp / "dest")); });
    EXPECT_EQ(missing.number(), ENOENT);
    EXPECT_EQ(missing.description(), "Cannot open the template file \"" +
                                         (temp / "nothing").string() +
                                         "\": No such file or directory");
    EXPECT_FALSE(fs::exists(temp / "dest")) << "nothing is created when the source is missing";

    FileFailure folder =
        FailureOf([&] { platform.CopyAsset(U16(temp / "folder"), U16(temp / "dest")); });
    EXPECT_EQ(folder.number(), EISDIR);

    FileFailure full = FailureOf([&] { platform.CopyAsset(U16(temp / "source"), u"/dev/full"); });
    EXPECT_EQ(full.number(), ENOSPC);
    EXPECT_EQ(full.description(), "Cannot write to \"/dev/full\": No space left on device");
}
