// The file layer of the platform being built, on real files and through faulty system calls: one
// table for every platform, each row with the outcome each platform must give, word for word.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "faulty_calls.h"
#include "file_failure.h"
#include "file_layer_checks.h"
#include "native_steps.h"
#include "path_separator.h"
#include "quiet_platform.h"
#include "temp_folder.h"

namespace fs = std::filesystem;
using quillbeam::FileFailure;

namespace {

// The file operations under test; messages go nowhere.
using Layer = quillbeam::QuietPlatform;

const std::string kText = "The text of a file, forty-three bytes long.";
const std::string kMovie = "the movie's bytes";
const std::string kKept = "keep me";
const std::size_t kBuffer = quillbeam::native::kCopyBufferSize;
// A name that makes a path longer than MAX_PATH in any temporary folder, where a name may have
// 255 characters at most.
const std::string kLongName = std::string(240, 'n');

// Each row starts in a fresh folder holding these.
void MakeScene(const fs::path& folder) {
    WriteFileBytes(folder / "plain-file", "plain");
    fs::create_directories(folder / "folder");
    fs::create_directories(folder / "Template");
    WriteFileBytes(folder / "Template" / "movie", kMovie);
    fs::create_hard_link(folder / "Template" / "movie", folder / "hard-link");
    std::error_code noLinks;  // where the system has symbolic links
    fs::create_symlink(folder / "Template" / "movie", folder / "symlink", noLinks);
    fs::create_symlink("/dev/full", folder / "full-disk", noLinks);
    WriteFileBytes(folder / "read-only", kKept);
    fs::permissions(folder / "read-only", fs::perms::owner_write | fs::perms::group_write,
                    fs::perm_options::remove);
}

// Windows' verbatim and device namespaces. A target that starts with one of them and then "./"
// names the rest in the row's folder, in that namespace.
const std::string kNamespaces[] = {"\\\\?\\", "\\\\.\\"};
std::string InFolder(const std::string& target) {
    for (const std::string& prefix : kNamespaces) {
        if (target.starts_with(prefix + "./")) return target.substr(prefix.size() + 2);
    }
    return target;
}

// `relative` inside `folder`, appended as text: fs::path would read "a:b" as a path on drive A:.
// A path that starts with a separator stands as it is.
fs::path At(const fs::path& folder, std::string relative) {
    if (InFolder(relative) != relative) {
        return relative.substr(0, 4) + At(folder, InFolder(relative)).string();
    }
    if (relative.starts_with('/') || relative.starts_with('\\')) return relative;
    const char separator = static_cast<char>(quillbeam::kPathSeparator);
    std::replace(relative.begin(), relative.end(), '/', separator);
    return folder.string() + separator + relative;
}

// 0 for success; otherwise the error number and the system's words for it, as each platform
// gives them.
struct Outcome {
    int number;
    std::string words;
};
const Outcome kWorks{0, ""};
const Outcome kNotHere{-1, ""};  // the row has no meaning on this platform

// How a row's source is copied: as the movie and the picture, or as the player, which a template
// may lack.
enum class Copy { kAsset, kIfPresent };

struct Row {
    std::string name;
    std::string source;  // copied to the target; empty: kText is written there and closed
    std::string target;  // in the row's folder, with '/' between names
    Fault fault;
    std::string action;                     // how a failure's description starts
    Outcome outcome[2];                     // on POSIX, on Windows
    std::optional<std::string> after = {};  // what the target then holds; none: as before
    Copy copy = Copy::kAsset;
};

const std::vector<Row>& Rows() {
    const std::string movie = "Template/movie";
    const std::string create = "Cannot create the file";
    const std::string write = "Cannot write to";
    const std::string finish = "Cannot finish writing";
    const std::string openTemplate = "Cannot open the template file";
    const Outcome noSpace{28, "No space left on device"};
    const Outcome diskFull{112, "Disk full."};
    const Outcome ioError{5, "Input/output error"};
    const Outcome deviceError{1117, "I/O device error."};
    const Outcome invalidName{123, "Invalid name."};
    const Outcome accessDenied{5, "Access denied."};
    const Outcome pathNotFound{3, "Path not found."};
    const Outcome aborted{995, "I/O operation aborted."};
    const Fault none = Fault::kNone;
    const Copy ifPresent = Copy::kIfPresent;
    // clang-format off
    static const std::vector<Row> rows = {
        {"missing folder", "", "missing/x.txt", none, create,
         {{2, "No such file or directory"}, pathNotFound}},
        {"a file where a folder should be", "", "plain-file/x.txt", none, create,
         {{20, "Not a directory"}, pathNotFound}},
        {"a folder where the file should be", "", "folder", none, create,
         {{21, "Is a directory"}, accessDenied}},
        // Wine says "File not found." where Windows would name the length.
        {"a name too long", "", std::string(300, 'n'), none, create,
         {{36, "File name too long"}, kNotHere}},
        // Root writes over read-only files on POSIX; Windows refuses for everyone.
        {"read-only file", "", "read-only", none, create, {kNotHere, accessDenied}},
        {"read-only destination", movie, "read-only", none, create, {kNotHere, accessDenied}},
        // Wine has no links, and refuses /dev/full as a device; its full disk is the file size
        // limit test.
        {"full disk, through a link", "", "full-disk", none, write, {noSpace, kNotHere}},
        {"full disk for a copy", movie, "full-disk", none, write, {noSpace, kNotHere}},
        {"short writes, then a full disk", "", "x.txt", Fault::kShortWritesThenFull, write,
         {noSpace, diskFull}, kText.substr(0, kFullAfter)},
        {"a write that writes nothing", "", "x.txt", Fault::kWritesNothing, write,
         {noSpace, diskFull}, ""},
        {"finishing the emptied file fails", "", "x.txt", Fault::kFirstCloseFails, finish,
         {ioError, deviceError}, ""},
        {"finishing the written file fails", "", "x.txt", Fault::kSecondCloseFails, finish,
         {ioError, deviceError}, kText},
        {"finishing a copy fails", movie, "x.swf", Fault::kFirstCloseFails, finish,
         {ioError, deviceError}, kMovie},
        {"the kernel's copy fails midway", movie, "x.swf", Fault::kKernelCopyFailsMidway, write,
         {ioError, kNotHere}, kMovie.substr(0, 3)},
        // A real failure before the first byte is reported, not taken for a kernel that cannot
        // copy these files. Windows copies through the buffer only: it has no kernel copy to fail.
        {"the kernel's copy fails at once", movie, "x.swf", Fault::kKernelCopyFailsAtOnce, write,
         {noSpace, kNotHere}, ""},
        {"no copy in the kernel", movie, "x.swf", Fault::kNoKernelCopy, "", {kWorks, kNotHere},
         kMovie},
        // A signal is no failure: the call is made again, and a close has closed all the same.
        // Windows has no signals; a call another thread cancels is a failure there.
        {"a write interrupted by a signal", "", "x.txt", Fault::kInterrupted, "",
         {kWorks, kNotHere}, kText},
        {"a copy interrupted by a signal", movie, "x.swf", Fault::kInterrupted, "",
         {kWorks, kNotHere}, kMovie},
        {"closes interrupted by a signal", "", "x.txt", Fault::kCloseInterrupted, "",
         {kWorks, kNotHere}, kText},
        {"a cancelled write", "", "x.txt", Fault::kInterrupted, write, {kNotHere, aborted}, ""},
        {"a cancelled read", movie, "x.swf", Fault::kInterrupted, "Cannot read",
         {kNotHere, aborted}, ""},
        {"a cancelled close", "", "x.txt", Fault::kCloseInterrupted, finish, {kNotHere, aborted},
         ""},
        {"reading the template fails", movie, "x.swf", Fault::kReadFails, "Cannot read",
         {ioError, deviceError}, ""},
        {"missing template file", "nothing", "x.swf", none, openTemplate,
         {{2, "No such file or directory"}, {2, "File not found."}}},
        {"a folder as the template file", "folder", "x.swf", none, openTemplate,
         {{21, "Is a directory"}, accessDenied}},
        // An asset the template may lack is passed over when nothing is there, and only then.
        {"an optional asset", movie, "x.js", none, "", {kWorks, kWorks}, kMovie, ifPresent},
        {"a missing optional asset", "nothing", "x.js", none, "", {kWorks, kWorks}, {}, ifPresent},
        {"an optional asset in a missing folder", "missing/nothing", "x.js", none, "",
         {kWorks, kWorks}, {}, ifPresent},
        {"an optional asset under a file", "plain-file/x.js", "x.js", none, openTemplate,
         {{20, "Not a directory"}, kWorks}, {}, ifPresent},
        {"a folder as the optional asset", "folder", "x.js", none, openTemplate,
         {{21, "Is a directory"}, accessDenied}, {}, ifPresent},
        {"reading the optional asset fails", movie, "x.js", Fault::kReadFails, "Cannot read",
         {ioError, deviceError}, "", ifPresent},
        {"full disk for an optional asset", movie, "full-disk", none, write, {noSpace, kNotHere},
         {}, ifPresent},
        // Copying a file onto itself keeps it whole, however the destination names it.
        {"the same file", movie, movie, none, "", {kWorks, kWorks}},
        {"the same file by another path", movie, "Template/../Template/movie", none, "",
         {kWorks, kWorks}},
        {"the same file by a hard link", movie, "hard-link", none, "", {kWorks, kWorks}},
        {"the same file by a symbolic link", movie, "symlink", none, "", {kWorks, kNotHere}},
        {"the same file in other letters", movie, "TEMPLATE/MOVIE", none, "", {kNotHere, kWorks}},
        {"a read-only file onto itself", "read-only", "read-only", none, "", {kWorks, kWorks}},
        // The same file number on another volume is another file.
        {"another volume", movie, "plain-file", Fault::kOtherVolume, "", {kWorks, kWorks}, kMovie},
        {"a long path", "", kLongName, none, "", {kWorks, kWorks}, kText},
        {"a copy into a long path", movie, kLongName, none, "", {kWorks, kWorks}, kMovie},
        // A device takes the text and loses it while looking like success; a colon names a hidden
        // data stream, and the other characters Windows forbids in names are refused alike.
        {"NUL", "", "NUL", none, create, {kNotHere, invalidName}},
        {"nul.txt", "", "nul.txt", none, create, {kNotHere, invalidName}},
        {"CON", "", "CON", none, create, {kNotHere, invalidName}},
        {"COM1", "", "COM1", none, create, {kNotHere, invalidName}},
        {"LPT1", "", "LPT1", none, create, {kNotHere, invalidName}},
        {"a copy to AUX", movie, "AUX", none, create, {kNotHere, invalidName}},
        {"the device namespace", "", "\\\\.\\NUL", none, create, {kNotHere, invalidName}},
        {"a copy to the device namespace", movie, "\\\\.\\NUL", none, create,
         {kNotHere, invalidName}},
        {"a:b", "", "a:b", none, create, {kNotHere, invalidName}},
        {"a copy to a:b", movie, "a:b", none, create, {kNotHere, invalidName}},
        {"a<b", "", "a<b", none, create, {kNotHere, invalidName}},
        {"a>b", "", "a>b", none, create, {kNotHere, invalidName}},
        {"a\"b", "", "a\"b", none, create, {kNotHere, invalidName}},
        {"a|b", "", "a|b", none, create, {kNotHere, invalidName}},
        {"a?b", "", "a?b", none, create, {kNotHere, invalidName}},
        {"a*b", "", "a*b", none, create, {kNotHere, invalidName}},
        // Controls are forbidden, up to 0x1F; a NUL would end the name early on POSIX.
        {"a NUL", "", std::string("a\0b", 3), none, create,
         {{22, "Invalid argument"}, invalidName}},
        {"a\\x1Fb", "", "a\x1F" "b", none, create, {kNotHere, invalidName}},
        {"a b", "", "a b", none, "", {kWorks, kWorks}, kText},
        // The namespaces' own "?" and "." are no forbidden characters; what follows them is checked.
        {"the verbatim namespace", "", "\\\\?\\./x.txt", none, "", {kNotHere, kWorks}, kText},
        {"the device namespace for a file", movie, "\\\\.\\./x.swf", none, "",
         {kNotHere, kWorks}, kMovie},
        {"a:b in the verbatim namespace", "", "\\\\?\\./a:b", none, create,
         {kNotHere, invalidName}},
        {"a\\x1Fb in the device namespace", "", "\\\\.\\./a\x1F" "b", none, create,
         {kNotHere, invalidName}},
    };
    // clang-format on
    return rows;
}

}  // namespace

TEST(FileLayer, EachRowEndsAsItsPlatformSays) {
    for (const Row& row : Rows()) {
        const Outcome& expected = row.outcome[kPlatform];
        if (expected.number == kNotHere.number) continue;
        SCOPED_TRACE(row.name);
        TempFolder temp;
        MakeScene(temp.path());
        const fs::path source = At(temp.path(), row.source);
        const fs::path target = At(temp.path(), row.target);
        std::map<std::string, std::string> expectedScene = FilesUnder(temp.path());
        if (row.after) expectedScene[fs::path(InFolder(row.target)).generic_string()] = *row.after;

        Layer layer(CallsWith(row.fault));
        try {
            if (row.source.empty()) {
                layer.WriteTextFile(target.u16string(), kText)->Close();
            } else if (row.copy == Copy::kIfPresent) {
                EXPECT_EQ(layer.CopyAssetIfPresent(source.u16string(), target.u16string()),
                          fs::exists(source));
            } else {
                layer.CopyAsset(source.u16string(), target.u16string());
            }
            EXPECT_EQ(expected.number, 0) << "reported success";
        } catch (const FileFailure& failure) {
            EXPECT_EQ(failure.number(), expected.number);
            // Only a template file that cannot be opened or read names the source.
            const bool aboutSource =
                row.action == "Cannot open the template file" || row.action == "Cannot read";
            const fs::path& named = aboutSource ? source : target;
            std::string shown = named.string();  // a NUL as U+FFFD
            if (const auto nul = shown.find('\0'); nul != std::string::npos) {
                shown.replace(nul, 1, "\uFFFD");
            }
            EXPECT_EQ(failure.description(), row.action + " \"" + shown + "\": " + expected.words);
        }
        // Nothing else changed: no file appeared beside the target, and none lost a byte.
        EXPECT_EQ(FilesUnder(temp.path()), expectedScene);
    }
}

TEST(FileLayer, WriteReplacesTheWholeFileWithExactlyTheBytes) {
    TempFolder temp;
    Layer layer;
    WriteFileBytes(temp / "a.txt", std::string(10000, 'x'));
    const std::string bytes("one\r\ntwo\0three\x93\n", 16);
    auto file = layer.WriteTextFile((temp / "a.txt").u16string(), bytes);
    EXPECT_EQ(ReadFileBytes(temp / "a.txt"), bytes) << "complete before the file is closed";
    file->Close();
    file->Close();  // a second close is harmless
    EXPECT_EQ(ReadFileBytes(temp / "a.txt"), bytes) << "no line ending is translated";
}

TEST(FileLayer, CopyReplacesTheDestinationByteForByteAndLeavesItWritable) {
    TempFolder temp;
    Layer layer;
    const std::string bytes = RandomBytes(3 << 20);
    WriteFileBytes(temp / "source", bytes);
    WriteFileBytes(temp / "dest", std::string(4 << 20, 'x'));
    layer.CopyAsset((temp / "source").u16string(), (temp / "dest").u16string());
    EXPECT_EQ(ReadFileBytes(temp / "dest"), bytes);
    // Through the buffer: a byte short of it, all of it, and a byte more.
    Layer throughBuffer(CallsWith(Fault::kNoKernelCopy));
    for (const std::size_t size : {kBuffer - 1, kBuffer, kBuffer + 1}) {
        WriteFileBytes(temp / "source", bytes.substr(0, size));
        throughBuffer.CopyAsset((temp / "source").u16string(), (temp / "dest").u16string());
        EXPECT_EQ(ReadFileBytes(temp / "dest"), bytes.substr(0, size)) << size;
    }

    WriteFileBytes(temp / "empty", "");
    fs::permissions(temp / "empty", fs::perms::owner_write, fs::perm_options::remove);
    layer.CopyAsset((temp / "empty").u16string(), (temp / "dest").u16string());
    EXPECT_EQ(fs::file_size(temp / "dest"), 0u);
    // The next run must be able to replace the copy of a read-only template file.
    layer.CopyAsset((temp / "empty").u16string(), (temp / "new").u16string());
    EXPECT_NE(fs::status(temp / "new").permissions() & fs::perms::owner_write, fs::perms::none);
}
