// What only the Windows file layer has: its paths, and the full disk that Wine can only stand in
// for with a file size limit.
#include "win32_path.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "application_folder.h"
#include "file_failure.h"
#include "file_layer_checks.h"
#include "module_folder.h"
#include "path_join.h"
#include "quiet_platform.h"
#include "temp_folder.h"

namespace fs = std::filesystem;
using quillbeam::FileFailure;

TEST(Win32Paths, JoinWithTheBackslashAndFindTheProgramsFolder) {
    EXPECT_EQ(quillbeam::JoinPath(u"C:\\out", u"mytext1.txt"), u"C:\\out\\mytext1.txt");
    EXPECT_EQ(quillbeam::JoinPath(u"C:\\out\\", u"x"), u"C:\\out\\\\x");

    EXPECT_EQ(quillbeam::FolderOfModulePath(u"C:\\Program Files\\Q\\q.exe"),
              u"C:\\Program Files\\Q");
    EXPECT_EQ(quillbeam::FolderOfModulePath(u"C:\\q.exe"), u"C:\\") << "a drive root keeps it";
    EXPECT_EQ(quillbeam::FolderOfModulePath(u"\\\\server\\share\\q.exe"), u"\\\\server\\share");

    const std::u16string folder = quillbeam::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), u'\\');
    EXPECT_TRUE(fs::exists(fs::path(folder) / "Template" / "mypic.jpg")) << fs::path(folder);
}

// Wine has no MAX_PATH limit of its own, so the prefix that lifts it on Windows is checked here;
// the file layer table writes such paths on disk.
TEST(Win32Paths, FromMaxPathCharactersOnAPathIsMadeFullAndPrefixed) {
    struct Case {
        std::u16string path;
        std::wstring wide;
        bool device = false;
    };
    const Case cases[] = {
        {u"C:\\" + std::u16string(256, u'x'), L"C:\\" + std::wstring(256, L'x')},
        {u"C:\\" + std::u16string(257, u'x'), L"\\\\?\\C:\\" + std::wstring(257, L'x')},
        {u"C:\\a\\..\\" + std::u16string(300, u'd'), L"\\\\?\\C:\\" + std::wstring(300, L'd')},
        {u"C:\\a\\..\\b", L"C:\\a\\..\\b"},
        {u"\\\\server\\share\\" + std::u16string(300, u'u'),
         L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'u')},
        {u"\\\\?\\C:\\a\\..\\" + std::u16string(300, u'v'),
         L"\\\\?\\C:\\a\\..\\" + std::wstring(300, L'v')},
        {u"C:\\out\\nul.txt", L"\\\\.\\nul", true},
        {u"C:\\out\\null.txt", L"C:\\out\\null.txt"},
        {u"C:\\out\\nul.txt.txt", L"\\\\.\\nul", true},
        {u"C:\\out\\COM9", L"\\\\.\\COM9", true},
        {u"C:\\out\\COM10", L"C:\\out\\COM10"},
        {u"\\\\.\\COM9", L"\\\\.\\COM9"},  // a namespace means what it says
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(fs::path(c.path).string().substr(0, 40));
        const quillbeam::Win32Path path = quillbeam::ToWin32Path(c.path);
        EXPECT_EQ(path.wide, c.wide);
        EXPECT_EQ(path.device, c.device);
    }
}

// Only a drive letter's colon and a namespace's "?" stand before the names; everything after them
// is checked, controls up to 0x1F.
TEST(Win32Paths, ForbiddenCharactersAfterTheRoot) {
    const struct {
        std::u16string path;
        bool forbidden;
    } rows[] = {
        // clang-format off
        {u"A:\\x", false}, {u"Z:\\x", false}, {u"a:\\x", false}, {u"z:\\x", false},
        {u"@:\\x", true}, {u"[:\\x", true}, {u"`:\\x", true}, {u"{:\\x", true},
        {u":", true}, {u"x\\C:", true}, {u"C:\\a:b", true},
        {u"C:\\a\x1F", true}, {u"C:\\a ", false}, {std::u16string(u"C:\\a\0", 5), true},
        {u"\\\\?\\C:\\x", false}, {u"\\\\.\\C:\\x", false}, {u"\\\\?\\UNC\\s\\x", false},
        {u"\\\\?\\C:\\a:b", true}, {u"\\\\.\\C:\\a?b", true}, {u"\\\\?xC:\\x", true},
        {u"\\\\?\\\\\\?\\x", true},  // one namespace at most
        // clang-format on
    };
    for (const auto& row : rows) {
        EXPECT_EQ(quillbeam::HasForbiddenCharacter(row.path), row.forbidden)
            << fs::path(row.path).string();
    }
}

// A file size limit is the nearest Wine gets to a full disk: a write first comes back short, and
// the next one fails. ctest runs this under such a limit (package_tests_file_size_limit);
// elsewhere it is skipped.
TEST(Win32FileSizeLimit, ShortWritesAreContinuedAndTheFailureIsReported) {
    const char* limit = std::getenv("QUILLBEAM_FILE_SIZE_LIMIT_KIB");
    if (limit == nullptr) GTEST_SKIP() << "needs a file size limit";
    const std::size_t limitBytes = std::stoul(limit) * 1024;
    TempFolder temp;
    quillbeam::QuietPlatform layer;

    const fs::path text = temp / "mytext1.txt";
    const FileFailure write =
        FailureOf([&] { layer.WriteTextFile(text.u16string(), std::string(2 * limitBytes, 'x')); });
    // Wine gives a write past the limit as a general failure.
    EXPECT_EQ(write.number(), 31);
    EXPECT_EQ(write.description(), "Cannot write to \"" + text.string() + "\": General failure.");
    EXPECT_EQ(fs::file_size(text), limitBytes) << "the bytes that fitted were written";

    // The test program itself is a source larger than the limit.
    const fs::path program = fs::path(quillbeam::ExecutableFolder()) / "package_tests.exe";
    ASSERT_GT(fs::file_size(program), limitBytes);
    const fs::path copy = temp / "bannerloop2.swf";
    const FileFailure copied =
        FailureOf([&] { layer.CopyAsset(program.u16string(), copy.u16string()); });
    EXPECT_EQ(copied.description(), "Cannot write to \"" + copy.string() + "\": General failure.");
}
