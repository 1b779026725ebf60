// The shell's folder dialog as the chooser drives it, under the system's own dialog code. A
// thread hook answers the dialog as a user would, once it is up.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
// clang-format on

#include <array>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "ansi_text.h"
#include "fake_shell.h"
#include "shell_functions.h"
#include "unique_handle.h"
#include "unique_resource.h"
#include "win32_modAPI.h"

using namespace quillbeam::modAPI;

namespace {

// What the "user" does in the next dialog: optionally select a folder, then press a button. Notes
// whether the dialog came, and whether it showed the title.
struct Answer {
    std::wstring select;
    WPARAM button = IDOK;
    bool seen = false;
    bool titleShown = false;
};
Answer Pressing(WPARAM button, std::wstring select = {}) {
    return {std::move(select), button, false};
}
Answer* nextAnswer = nullptr;  // a hook procedure has no data of its own

BOOL CALLBACK FindTitle(HWND control, LPARAM answer) {
    wchar_t text[32] = {};
    GetWindowTextW(control, text, 32);
    if (std::wstring_view(text) != L"Select a directory") return TRUE;
    reinterpret_cast<Answer*>(answer)->titleShown = true;
    return FALSE;
}

LRESULT CALLBACK AnswerDialog(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && nextAnswer != nullptr && !nextAnswer->seen) {
        const auto dialog = reinterpret_cast<HWND>(wParam);
        wchar_t name[16] = {};
        GetClassNameW(dialog, name, 16);
        if (std::wstring_view(name) == L"#32770") {
            nextAnswer->seen = true;
            EnumChildWindows(dialog, FindTitle, reinterpret_cast<LPARAM>(nextAnswer));
            // Posted, so they arrive once the dialog has finished opening, in this order.
            if (!nextAnswer->select.empty()) {
                PostMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                             reinterpret_cast<LPARAM>(nextAnswer->select.c_str()));
            }
            PostMessageW(dialog, WM_COMMAND, nextAnswer->button, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

using WindowsHook =
    quillbeam::UniqueResource<quillbeam::NullableHandleTraits<HHOOK, &::UnhookWindowsHookEx>>;

// Runs ChooseFolder with `answer` given to its dialog.
std::u16string Choose(Answer answer, std::u16string_view start, ChooserSwitches switches) {
    const WindowsHook hook(SetWindowsHookExW(WH_CBT, AnswerDialog, nullptr, GetCurrentThreadId()));
    nextAnswer = &answer;
    std::u16string chosen = ChooseFolder(nullptr, u"Select a directory", start, switches);
    nextAnswer = nullptr;
    EXPECT_TRUE(answer.seen);
    EXPECT_TRUE(answer.titleShown);
    return chosen;
}

// A fresh folder on the drive the test runner maps to a folder of its own
// (QUILLBEAM_QUIET_DRIVE): the dialog selects a start folder reliably only under quiet parents.
class QuietFolder {
  public:
    QuietFolder() {
        const char* drive = std::getenv("QUILLBEAM_QUIET_DRIVE");
        if (drive == nullptr) throw std::runtime_error("QUILLBEAM_QUIET_DRIVE is not set");
        path_ = std::filesystem::path(std::string(drive) + "\\") /
                ("chooser-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(path_);
    }
    QuietFolder(const QuietFolder&) = delete;
    QuietFolder& operator=(const QuietFolder&) = delete;
    ~QuietFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::wstring& name) const { return path_ / name; }

    // Wine's item lists carry a folder's access time (in two-second steps), and the dialog finds
    // a folder to select by comparing item lists byte for byte. Reading a folder moves its access
    // time while that is not later than its last change, so after something was made in it the
    // dialog's own listing moves it, and on a busy machine the selection's item list then no
    // longer matches the tree's. An access time set after the last change stays as it is.
    void PinAccessTime() const {
        const quillbeam::UniqueHandle folder(
            CreateFileW(path_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        // An hour ahead: setting it counts as a change, made now.
        ULARGE_INTEGER later{.u = {now.dwLowDateTime, now.dwHighDateTime}};
        later.QuadPart += 36'000'000'000;  // in steps of 100 ns
        const FILETIME accessed{later.u.LowPart, later.u.HighPart};
        if (!folder || !SetFileTime(folder.get(), nullptr, &accessed, nullptr)) {
            throw std::runtime_error("cannot set the access time of " + path_.string());
        }
    }

  private:
    std::filesystem::path path_;
};

// The file-system path of an item list, or "none".
std::u16string PathOfItem(const ITEMIDLIST* item) {
    std::array<wchar_t, MAX_PATH> path{};
    if (item == nullptr || !SHGetPathFromIDListW(item, path.data())) return u"none";
    return reinterpret_cast<const char16_t*>(path.data());
}

class FolderChooserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { CoUninitialize(); }

    QuietFolder temp_;
};

// Only an existing start folder reaches the dialog: selected through the callback, and with root
// at start as the root of its tree (its own item list). A missing or empty one leaves the dialog
// as without one.
TEST_F(FolderChooserTest, OnlyAnExistingStartFolderReachesTheDialog) {
    const std::u16string existing = temp_.path().u16string();
    const std::u16string missing = (temp_ / L"missing").u16string();
    const struct {
        std::u16string start;
        bool rootAtStart;
        bool reaches;
    } rows[] = {{existing, false, true},
                {existing, true, true},
                {missing, true, false},
                {u"", false, false}};
    for (const auto& row : rows) {
        DialogDescription dialog(nullptr, u"Select a directory", row.start,
                                 {.rootAtStart = row.rootAtStart, .newStyle = true});
        const BROWSEINFOA& info = dialog.info();
        EXPECT_STREQ(info.lpszTitle, "Select a directory");
        EXPECT_EQ(info.ulFlags, 67u);
        EXPECT_EQ(info.lpfn, row.reaches ? ChooserCallback : nullptr);
        EXPECT_STREQ(reinterpret_cast<const char*>(info.lParam),
                     row.reaches ? temp_.path().string().c_str() : nullptr);
        EXPECT_EQ(PathOfItem(info.pidlRoot), row.reaches && row.rootAtStart ? row.start : u"none");
    }
    EXPECT_TRUE(IsNtPlatform());
}

TEST_F(FolderChooserTest, OpensAtAnExistingStartFolderAndReturnsIt) {
    const std::u16string start = temp_.path().u16string();
    EXPECT_EQ(Choose(Pressing(IDOK), start, {.newStyle = true}), start);
    EXPECT_EQ(Choose(Pressing(IDOK), u"C:\\", {}), u"C:\\");  // a drive root keeps its separator
}

TEST_F(FolderChooserTest, CancelGivesTheEmptyText) {
    EXPECT_EQ(Choose(Pressing(IDCANCEL), temp_.path().u16string(), {.newStyle = true}), u"");
    EXPECT_EQ(Choose(Pressing(IDCANCEL), u"", {.newStyle = true}), u"");
}

// A name the ANSI code page cannot hold comes back whole, not as a path that does not exist.
TEST_F(FolderChooserTest, KeepsCharactersTheAnsiCodePageLacks) {
    const std::filesystem::path chosen = temp_.path() / L"\u0101\u4E2D folder";
    std::filesystem::create_directory(chosen);
    temp_.PinAccessTime();
    EXPECT_EQ(
        Choose(Pressing(IDOK, chosen.wstring()), temp_.path().u16string(), {.newStyle = true}),
        chosen.u16string());
}

// The shell is loaded for its first call: opening a missing file reaches the shell itself, which
// reports the file as not found.
TEST_F(FolderChooserTest, ShellExecuteReachesTheShell) {
    const std::wstring missing = (temp_ / L"missing.html").wstring();
    EXPECT_EQ(reinterpret_cast<INT_PTR>(
                  ShellExecuteOnFirstUse(nullptr, L"open", missing.c_str(), L"", L"", SW_HIDE)),
              SE_ERR_FNF);
}

// The chooser's traffic with the shell, one row for each way through it: each item list and block
// it is handed goes where it belongs and is freed once, however the dialog ends. The start folder
// exists unless a row says so, and reaches the shell as ANSI text, one byte a letter.
TEST(ChooserAllocations, EachItemListAndBlockGoesWhereItBelongsAndIsFreedOnce) {
    const std::u16string start = u"C:\\Zo\u00EB";
    const std::string ansiStart = "C:\\Zo\xEB";
    const struct Row {
        std::string name;
        std::u16string start;
        bool rootAtStart;
        FakeShell::Answers answers;
        std::u16string result;
        std::string trace;
    } rows[] = {
        {"the Browse command, cancelled", u"", false, {}, u"", "dialog root none; cancelled"},
        {"the Browse command, a folder chosen",
         u"",
         false,
         {.chooses = true, .ansiPath = ansiStart, .widePath = L"C:\\Zo\u00EB"},
         start,
         "dialog root none; chosen 1; path of 1; wide path of 1; free items 1"},
        // The wide form keeps what the ANSI form lost; without it the ANSI form is read as ANSI.
        {"the path lost letters in ANSI",
         u"",
         false,
         {.chooses = true, .ansiPath = "C:\\?", .widePath = L"C:\\\u4E2D"},
         u"C:\\\u4E2D",
         "dialog root none; chosen 1; path of 1; wide path of 1; free items 1"},
        {"no wide path",
         u"",
         false,
         {.chooses = true, .ansiPath = ansiStart},
         start,
         "dialog root none; chosen 1; path of 1; wide path of 1; free items 1"},
        {"the chosen item has no path",
         u"",
         false,
         {.chooses = true},
         u"",
         "dialog root none; chosen 1; path of 1; free items 1"},
        {"an existing start, cancelled",
         start,
         false,
         {.existing = ansiStart},
         u"",
         R"(block 1 of 7; dialog root none data 1 "C:\Zo\xEB"; select data 1; cancelled; )"
         "free block 1"},
        {"root at an existing start, a folder chosen",
         start,
         true,
         {.existing = ansiStart, .chooses = true, .ansiPath = ansiStart},
         start,
         R"(items 1 for L"C:\Zo\u00EB"; block 2 of 7; dialog root 1 data 2 "C:\Zo\xEB"; )"
         "select data 2; chosen 3; path of 3; wide path of 3; free items 3; free block 2; "
         "free items 1"},
        {"root at a missing start",
         start,
         true,
         {},
         u"",
         R"(items 1 for L"C:\Zo\u00EB"; dialog root none; cancelled; free items 1)"},
        {"root at a start the shell cannot parse",
         start,
         true,
         {.existing = ansiStart, .parses = false},
         u"",
         R"(no items for L"C:\Zo\u00EB"; block 1 of 7; dialog root none data 1 "C:\Zo\xEB"; )"
         "select data 1; cancelled; free block 1"},
        {"no block for the start",
         start,
         true,
         {.existing = ansiStart, .allocates = false},
         u"",
         R"(items 1 for L"C:\Zo\u00EB"; no block; dialog root none; cancelled; free items 1)"},
        {"root at start before NT",
         start,
         true,
         {.existing = ansiStart, .platform = VER_PLATFORM_WIN32_WINDOWS},
         u"",
         R"(items 1 for "C:\Zo\xEB"; block 2 of 7; dialog root 1 data 2 "C:\Zo\xEB"; )"
         "select data 2; cancelled; free block 2; free items 1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeShell shell(row.answers);
        EXPECT_EQ(ChooseFolder(nullptr, u"S\u00E9lection", row.start,
                               {.rootAtStart = row.rootAtStart, .newStyle = true}, shell.Calls()),
                  row.result);
        EXPECT_EQ(shell.trace, row.trace);
        EXPECT_EQ(shell.title, "S\xE9lection");
    }
}

// NT only when the version call answers exactly 1, given the record's size.
TEST(ChooserPlatform, IsNtOnlyWhenTheVersionCallAnswersOneAndNt) {
    const struct {
        BOOL answer;
        DWORD platform;
        bool nt;
    } rows[] = {{1, VER_PLATFORM_WIN32_NT, true},
                {1, VER_PLATFORM_WIN32_WINDOWS, false},
                {0, VER_PLATFORM_WIN32_NT, false},
                {2, VER_PLATFORM_WIN32_NT, false}};
    for (const auto& row : rows) {
        FakeShell shell({.versionCall = row.answer, .platform = row.platform});
        EXPECT_EQ(IsNtPlatform(shell.Calls()), row.nt) << row.answer << " " << row.platform;
        EXPECT_EQ(shell.versionSize, 148u);
    }
}

// The shell's ANSI calls take the system's code page, 1252 here: one byte a letter, never UTF-8;
// a letter it lacks becomes Windows' near letter or "?".
TEST(ChooserAnsiText, IsTheSystemsCodePageNeverUtf8) {
    ASSERT_EQ(GetACP(), 1252u);
    const struct {
        std::u16string text;
        std::string ansi;
        bool back;  // FromAnsi gives the text again
    } rows[] = {
        {u"", "", true},
        {u"Zo\u00EB \u00FF", "Zo\xEB \xFF", true},
        {u"\u20AC\u201C\u0081", "\x80\x93\x81", true},
        {u"\u007F\u0080", "\x7F?", false},
        {u"\u0101\u4E2D\U0001F600", "a???", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ToAnsi(row.text), row.ansi);
        if (row.back) {
            EXPECT_EQ(FromAnsi(row.ansi), row.text);
        }
    }
}

}  // namespace
