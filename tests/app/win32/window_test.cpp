// The Windows window against the shared layout table, at the DPI the test is told to expect
// (QUILLBEAM_EXPECTED_DPI, 96 by default), and its keyboard behaviour with keys posted as the
// system posts them.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <oleacc.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>
#include <tuple>

#include "com_apartment.h"
#include "com_ptr.h"
#include "control_ids.h"
#include "main_window.h"
#include "message_loop.h"
#include "resource_ids.h"
#include "temp_folder.h"
#include "unshowable_characters.h"
#include "window_layout.h"

namespace layout = quillbeam::layout;
using layout::Role;
using quillbeam::win32::MainWindow;

namespace {

int ExpectedDpi() {
    const char* dpi = std::getenv("QUILLBEAM_EXPECTED_DPI");
    return dpi != nullptr ? std::atoi(dpi) : 96;
}

std::wstring Wide(std::u16string_view text) {
    return {text.begin(), text.end()};
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

const wchar_t* ExpectedClass(layout::Kind kind) {
    switch (kind) {
        case layout::Kind::Picture:
        case layout::Kind::Label:
            return L"Static";
        case layout::Kind::LineBox:
        case layout::Kind::MessageBox:
            return L"Edit";
        case layout::Kind::Button:
            return L"Button";
    }
    return L"";
}

RECT ToRect(const layout::Rect& rect) {
    return {rect.left, rect.top, rect.left + rect.width, rect.top + rect.height};
}

layout::Rect PlaceInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// What the window handed MessageBoxW or ShellExecuteW.
struct MessageBoxCall {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};
// owner, verb, file, parameters, folder, show command
using ShellCall = std::tuple<HWND, std::wstring, std::wstring, std::wstring, std::wstring, int>;

// The call that opens `link`'s page, shown normally: whoever follows a link wants to see it.
std::vector<ShellCall> Opening(Role link) {
    const std::string_view address = layout::LinkOf(link).address;
    return {
        {nullptr, L"open", std::wstring(address.begin(), address.end()), L"", L"", SW_SHOWNORMAL}};
}

// An accessible object's name for itself.
VARIANT Self() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

// What a screen reader reads of an accessible object itself through `get`.
std::wstring Read(IAccessible* object,
                  HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR text = nullptr;
    if ((object->*get)(Self(), &text) != S_OK) return L"<no answer>";
    std::wstring read(text, SysStringLen(text));
    SysFreeString(text);
    return read;
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.emplace(
            GetModuleHandleW(nullptr),
            quillbeam::win32::SystemCalls{
                [this](HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
                    boxes_.push_back({owner, text, caption, type});
                    return answers_.size() >= boxes_.size() ? answers_[boxes_.size() - 1] : IDOK;
                },
                [this](HWND owner, const wchar_t* verb, const wchar_t* file,
                       const wchar_t* parameters, const wchar_t* folder, int show) {
                    shellCalls_.emplace_back(owner, verb, file, parameters, folder, show);
                    return reinterpret_cast<HINSTANCE>(33);  // success: above 32
                },
                // The system's high-contrast mode cannot be switched on under Wine.
                [this] { return highContrast_; }});
        ShowWindow(window_->handle(), SW_SHOWNORMAL);
        Pump();
    }

    HWND Control(Role role) const { return window_->control(role); }

    // Delivers everything queued, as the program's loop would, until the queue is empty.
    void Pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            quillbeam::win32::Deliver(window_->handle(), message);
        }
    }

    // A key press as the keyboard posts it to the focused control.
    void Press(UINT key) {
        const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        PostMessageW(GetFocus(), WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
        PostMessageW(GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
        Pump();
    }
    void Type(std::wstring_view text) {
        for (const wchar_t character : text) PostMessageW(GetFocus(), WM_CHAR, character, 1);
        Pump();
    }

    // The mouse messages a click on `control` brings it, or those of a double click.
    static void Click(HWND control, bool twice = false) {
        SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        if (!twice) return;
        SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }

    // As the program does: screen readers reach the links' objects through COM.
    const quillbeam::win32::ComApartment apartment_;
    std::optional<MainWindow> window_;
    std::vector<MessageBoxCall> boxes_;
    std::vector<int> answers_;  // to each message box in turn; IDOK beyond them
    std::vector<ShellCall> shellCalls_;
    bool highContrast_ = false;
};

TEST_F(WindowTest, ControlsMatchTheTableAtTheScreensDpi) {
    const int dpi = ExpectedDpi();
    ASSERT_EQ(window_->dpi(), dpi);
    EXPECT_EQ(TextOf(window_->handle()), Wide(layout::kWindowCaption));
    RECT client{};
    GetClientRect(window_->handle(), &client);
    EXPECT_EQ(client.right, layout::Scale(layout::kClientSize.width, dpi));
    EXPECT_EQ(client.bottom, layout::Scale(layout::kClientSize.height, dpi));

    for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
        const layout::Control& control = layout::kControls[i];
        SCOPED_TRACE(std::string(control.name));
        HWND handle = window_->control(control);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(GetDlgCtrlID(handle), quillbeam::win32::ControlId(i));
        EXPECT_EQ(_wcsicmp(ClassOf(handle).c_str(), ExpectedClass(control.kind)), 0);
        EXPECT_EQ(PlaceInParent(handle), layout::Scale(control.rect, dpi));
        if (control.kind != layout::Kind::Picture) {
            EXPECT_EQ(TextOf(handle), Wide(control.firstText));
        }
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_STYLE));
        if (control.kind == layout::Kind::LineBox || control.kind == layout::Kind::MessageBox) {
            EXPECT_EQ((style & ES_MULTILINE) != 0, control.kind == layout::Kind::MessageBox);
            EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), 0u);
        }
        EXPECT_EQ((style & WS_TABSTOP) != 0, control.takesFocus());
    }
}

// Moved to a screen of another density, the window places and sizes every control anew.
TEST_F(WindowTest, ADpiChangeScalesEveryControl) {
    const int dpi = ExpectedDpi() == 96 ? 144 : 96;
    RECT suggested{0, 0, layout::Scale(layout::kClientSize.width, dpi),
                   layout::Scale(layout::kClientSize.height, dpi)};
    SendMessageW(window_->handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window_->dpi(), dpi);
    for (const layout::Control& control : layout::kControls) {
        EXPECT_EQ(PlaceInParent(window_->control(control)), layout::Scale(control.rect, dpi))
            << control.name;
    }
}

// Whatever font the system gives, even one three times its usual size, no label's text is cut
// off by its fixed box.
TEST_F(WindowTest, EveryLabelShowsItsWholeText) {
    const struct SavedMetrics {
        NONCLIENTMETRICSW metrics{};
        SavedMetrics() {
            metrics.cbSize = sizeof(metrics);
            SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        }
        ~SavedMetrics() {
            SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        }
    } saved;
    NONCLIENTMETRICSW large = saved.metrics;
    large.lfMessageFont.lfHeight *= 3;
    for (NONCLIENTMETRICSW metrics : {saved.metrics, large}) {
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
        // The window takes the system's font afresh as it does when moved to another screen.
        RECT bounds{};
        GetWindowRect(window_->handle(), &bounds);
        SendMessageW(window_->handle(), WM_DPICHANGED, MAKEWPARAM(window_->dpi(), window_->dpi()),
                     reinterpret_cast<LPARAM>(&bounds));
        for (const layout::Control& control : layout::kControls) {
            if (control.kind != layout::Kind::Label) continue;
            HWND label = window_->control(control);
            const quillbeam::win32::WindowDc dc = quillbeam::win32::GetWindowDc(label);
            const quillbeam::win32::SelectedObject font = quillbeam::win32::Select(
                dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
            const std::wstring text = TextOf(label);
            SIZE needed{};
            GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &needed);
            RECT box{};
            GetClientRect(label, &box);
            EXPECT_LE(needed.cx, box.right) << control.name;
            EXPECT_LE(needed.cy, box.bottom) << control.name;
        }
    }
}

// The object owns its window: destroying it destroys the window, whose last messages still reach
// the object.
TEST_F(WindowTest, TheWindowGoesWithItsObject) {
    int destroyed = 0;
    window_->setOnDestroyed([&destroyed] { ++destroyed; });
    HWND handle = window_->handle();
    window_.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(destroyed, 1);
}

TEST_F(WindowTest, FocusStartsInTheFolderBoxAndTabFollowsTheTable) {
    const auto order = layout::FocusOrder();
    ASSERT_EQ(GetFocus(), window_->control(*order.front()));
    for (std::size_t step = 1; step <= order.size(); ++step) {
        Press(VK_TAB);
        EXPECT_EQ(GetFocus(), window_->control(*order[step % order.size()])) << step;
    }
}

// Several lines in a box one line high: Enter breaks the line with CR LF, which reaches the
// banner request unchanged; Tab leaves the box, Escape does nothing.
TEST_F(WindowTest, MessageBoxesTakeLinesButNotTabs) {
    HWND text3 = Control(Role::Message2);
    SetFocus(text3);
    SetWindowTextW(text3, L"");
    Type(L"first");
    Press(VK_RETURN);
    Type(L"second");
    EXPECT_EQ(TextOf(text3), L"first\r\nsecond");
    EXPECT_EQ(window_->request().messages[1], u"first\r\nsecond");

    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(Role::Message3));
    EXPECT_EQ(TextOf(text3), L"first\r\nsecond");

    Press(VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(window_->handle()));
    EXPECT_EQ(TextOf(Control(Role::Message3)), L"Text4");
}

TEST_F(WindowTest, OneLineBoxesIgnoreEnterAndEscape) {
    for (const Role role : {Role::Folder, Role::Address}) {
        HWND box = Control(role);
        SetFocus(box);
        SetWindowTextW(box, L"typed");
        Press(VK_RETURN);
        Press(VK_ESCAPE);
        EXPECT_EQ(TextOf(box), L"typed");
        EXPECT_EQ(GetFocus(), box);
    }
    EXPECT_TRUE(IsWindowVisible(window_->handle()));
    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(shellCalls_.empty());
}

// A click opens the page through the shell; the second click of a double click opens nothing
// more.
TEST_F(WindowTest, LinksLookAndActLikeLinks) {
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    for (const Role link : {Role::ResourcesLink, Role::UpdateLink}) {
        SetCursor(nullptr);
        EXPECT_TRUE(SendMessageW(window_->handle(), WM_SETCURSOR,
                                 reinterpret_cast<WPARAM>(Control(link)),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), hand);
        shellCalls_.clear();
        Click(Control(link), true);
        EXPECT_EQ(shellCalls_, Opening(link));
    }
    EXPECT_TRUE(boxes_.empty());
}

// The update link's text is blue on a light window; on a dark one, or in high contrast, it takes
// the system's colour for links, which reads there.
TEST_F(WindowTest, UpdateLinkReadsInTheSystemsColors) {
    const int elements[] = {COLOR_BTNFACE, COLOR_WINDOWTEXT, COLOR_HOTLIGHT};
    const struct SavedColors {
        COLORREF colors[3] = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOWTEXT),
                              GetSysColor(COLOR_HOTLIGHT)};
        ~SavedColors() {
            const int restored[] = {COLOR_BTNFACE, COLOR_WINDOWTEXT, COLOR_HOTLIGHT};
            SetSysColors(3, restored, colors);
        }
    } saved;
    const struct {
        COLORREF colors[3];  // window, text, links
        bool highContrast;
        COLORREF drawn;
    } rows[] = {
        {{RGB(240, 240, 240), RGB(0, 0, 0), RGB(0, 102, 204)}, false, RGB(0, 0, 255)},
        {{RGB(240, 240, 240), RGB(0, 0, 0), RGB(0, 102, 204)}, true, RGB(0, 102, 204)},
        {{RGB(50, 50, 50), RGB(255, 255, 255), RGB(120, 174, 237)}, false, RGB(120, 174, 237)},
    };
    // The text colour each static is handed to draw with.
    const auto drawnIn = [this](HWND label) {
        const quillbeam::win32::WindowDc dc = quillbeam::win32::GetWindowDc(label);
        SendMessageW(window_->handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                     reinterpret_cast<LPARAM>(label));
        return GetTextColor(dc.get());
    };
    HWND caption = window_->control(
        *std::ranges::find(layout::kControls, Role::Folder, &layout::Control::captionOf));
    for (const auto& row : rows) {
        ASSERT_TRUE(SetSysColors(3, elements, row.colors));
        highContrast_ = row.highContrast;
        EXPECT_EQ(drawnIn(Control(Role::UpdateLink)), row.drawn) << row.highContrast;
        EXPECT_EQ(drawnIn(caption), row.colors[1]) << "captions keep the text colour";
    }
}

// Screen readers meet both links as links named for what they open; their default action opens
// the page as a click does.
TEST_F(WindowTest, ScreenReadersMeetTheLinksAsLinks) {
    for (const Role link : {Role::ResourcesLink, Role::UpdateLink}) {
        IAccessible* found = nullptr;
        ASSERT_EQ(
            AccessibleObjectFromWindow(Control(link), static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&found)),
            S_OK);
        const quillbeam::win32::ComPtr<IAccessible> accessible(found);
        VARIANT role{};
        VARIANT state{};
        EXPECT_EQ(accessible.get()->get_accRole(Self(), &role), S_OK);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_LINK);
        EXPECT_EQ(accessible.get()->get_accState(Self(), &state), S_OK);
        EXPECT_NE(state.lVal & STATE_SYSTEM_LINKED, 0);
        EXPECT_EQ(Read(accessible.get(), &IAccessible::get_accName),
                  Wide(layout::LinkOf(link).name));
        EXPECT_EQ(Read(accessible.get(), &IAccessible::get_accDescription),
                  Wide(layout::LinkOf(link).description));
        EXPECT_EQ(Read(accessible.get(), &IAccessible::get_accValue),
                  std::get<2>(Opening(link)[0]));
        EXPECT_EQ(Read(accessible.get(), &IAccessible::get_accDefaultAction), L"Jump");

        shellCalls_.clear();
        EXPECT_EQ(accessible.get()->accDoDefaultAction(Self()), S_OK);
        Pump();
        EXPECT_EQ(shellCalls_, Opening(link));
    }
}

// Screen readers name a box by the label just before it among the window's children, the order
// Tab follows too; the caption still gives up the row its box overlaps.
TEST_F(WindowTest, EachBoxComesRightAfterItsCaptionAndIsDrawnWhole) {
    std::vector<const layout::Control*> children;
    for (HWND child = GetWindow(window_->handle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(&layout::kControls[static_cast<std::size_t>(
            GetDlgCtrlID(child) - quillbeam::win32::kFirstControlId)]);
    }
    ASSERT_EQ(children.size(), layout::kControls.size());
    int captions = 0;
    for (std::size_t i = 0; i + 1 < children.size(); ++i) {
        if (!children[i]->captionOf) continue;
        ++captions;
        EXPECT_EQ(children[i + 1]->role, *children[i]->captionOf) << children[i]->name;
    }
    EXPECT_EQ(captions, 6);

    RedrawWindow(window_->handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const quillbeam::win32::WindowDc dc = quillbeam::win32::GetWindowDc(window_->handle());
    RECT overlap{};
    const RECT label5 = ToRect(
        layout::Scale(std::ranges::find(layout::kControls, "Label5", &layout::Control::name)->rect,
                      window_->dpi()));
    const RECT text5 = ToRect(layout::Scale(layout::Find(Role::Message4).rect, window_->dpi()));
    ASSERT_TRUE(IntersectRect(&overlap, &label5, &text5));
    for (int y = overlap.top; y < overlap.bottom; ++y) {
        for (int x = overlap.left; x < overlap.right; ++x) {
            ASSERT_NE(GetPixel(dc.get(), x, y), GetSysColor(COLOR_BTNFACE)) << x << "," << y;
        }
    }
}

// The report says what failed under an error icon, and the window keeps every text, so that the
// folder can be corrected; the completion message has no icon.
TEST_F(WindowTest, GenerateReportsAFailureAndThenCompletes) {
    const TempFolder temp;
    WriteFileBytes(temp / "not a folder", "x");
    std::filesystem::create_directories(temp / "app" / "Template");
    WriteFileBytes(temp / "app" / "Template" / "bannerloop2.swf", "FWS");
    WriteFileBytes(temp / "app" / "Template" / "mypic.jpg", "JPG");
    window_->setApplicationFolder((temp / "app").u16string());

    SetWindowTextW(Control(Role::Folder), (temp / "not a folder").c_str());
    SetWindowTextW(Control(Role::Address), L"http://example.com/");
    const quillbeam::BannerRequest before = window_->request();
    SendMessageW(Control(Role::Generate), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_TRUE(std::regex_search(boxes_[0].text,
                                  std::wregex(L"^Error [0-9]+: .*not a folder.mytext1\\.txt")))
        << std::string(boxes_[0].text.begin(), boxes_[0].text.end());
    EXPECT_EQ(boxes_[0].caption, L"Quillbeam");
    EXPECT_EQ(boxes_[0].type, UINT{MB_OK | MB_ICONERROR});
    EXPECT_EQ(boxes_[0].owner, window_->handle());
    EXPECT_TRUE(IsWindowVisible(window_->handle()));
    EXPECT_EQ(window_->request().folder, before.folder);
    EXPECT_EQ(window_->request().messages, before.messages);
    EXPECT_EQ(window_->request().url, u"http://example.com/");

    std::filesystem::create_directory(temp / "out");
    SetWindowTextW(Control(Role::Folder), (temp / "out").c_str());
    SendMessageW(Control(Role::Generate), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].text.substr(0, 7), L"Done!\r\n");
    EXPECT_EQ(boxes_[1].type, UINT{MB_OK});
    EXPECT_EQ(ReadFileBytes(temp / "out" / "mypic.jpg"), "JPG");
}

// Near letters go without a word. Characters the banner cannot show are named first: No writes
// nothing and leaves every text, the focus in the first box holding them; Yes writes.
TEST_F(WindowTest, GenerateNamesCharactersTheBannerCannotShowFirst) {
    const TempFolder temp;
    std::filesystem::create_directories(temp / "app" / "Template");
    WriteFileBytes(temp / "app" / "Template" / "bannerloop2.swf", "FWS");
    WriteFileBytes(temp / "app" / "Template" / "mypic.jpg", "JPG");
    window_->setApplicationFolder((temp / "app").u16string());
    std::filesystem::create_directory(temp / "out");
    SetWindowTextW(Control(Role::Folder), (temp / "out").c_str());
    SetWindowTextW(Control(Role::Message3), L"Za\u017C\u00F3\u0142\u0107");
    SendMessageW(Control(Role::Generate), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].type, UINT{MB_OK}) << "the completion message alone";
    std::filesystem::remove_all(temp / "out");
    std::filesystem::create_directory(temp / "out");

    SetWindowTextW(Control(Role::Message2), L"\U0001F600 \u041F\u0440\u0438");
    SetFocus(Control(Role::Generate));
    const quillbeam::BannerRequest before = window_->request();
    boxes_.clear();
    answers_ = {IDNO, IDYES, IDOK};
    SendMessageW(Control(Role::Generate), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, Wide(quillbeam::window::QuestionBeforeWriting(before)->text));
    EXPECT_EQ(boxes_[0].text.substr(0, 15), L"Message 2 holds");
    EXPECT_EQ(boxes_[0].caption, L"Quillbeam");
    EXPECT_EQ(boxes_[0].type, UINT{MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2});
    EXPECT_EQ(boxes_[0].owner, window_->handle());
    EXPECT_TRUE(std::filesystem::is_empty(temp / "out"));
    EXPECT_EQ(window_->request().folder, before.folder);
    EXPECT_EQ(window_->request().messages, before.messages);
    EXPECT_EQ(window_->request().url, before.url);
    EXPECT_EQ(GetFocus(), Control(Role::Message2));

    SendMessageW(Control(Role::Generate), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes_.size(), 3u);  // the question, then the completion message
    EXPECT_EQ(boxes_[2].text.substr(0, 7), L"Done!\r\n");
    EXPECT_EQ(ReadFileBytes(temp / "out" / "mytext2.txt").substr(210 + 5), "?? ???");
}

// A DROPFILES block holding `paths`, as the shell hands it over in WM_DROPFILES.
HGLOBAL DropFiles(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths) list += path + L'\0';
    list += L'\0';
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(files + 1));
    GlobalUnlock(block);
    return block;
}

// Only the folder box takes files dropped from the file manager: a folder gives its path, a file
// its folder; several items, or a path that leads nowhere, change nothing.
TEST_F(WindowTest, ADroppedFolderFillsTheFolderBox) {
    for (const layout::Control& control : layout::kControls) {
        const auto style = GetWindowLongPtrW(window_->control(control), GWL_EXSTYLE);
        EXPECT_EQ((style & WS_EX_ACCEPTFILES) != 0, control.role == Role::Folder) << control.name;
    }
    EXPECT_EQ(GetWindowLongPtrW(window_->handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);

    const TempFolder temp;
    WriteFileBytes(temp / "notes.txt", "x");
    const std::wstring folder = temp.path().wstring();
    const struct {
        std::vector<std::wstring> paths;
        std::wstring box;
    } rows[] = {
        {{folder}, folder},
        {{(temp / "notes.txt").wstring()}, folder},
        {{L"C:\\"}, L"C:\\"},
        {{folder, folder}, L"typed"},
        {{(temp / "gone").wstring()}, L"typed"},
    };
    for (const auto& row : rows) {
        SetWindowTextW(Control(Role::Folder), L"typed");
        SendMessageW(Control(Role::Folder), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(DropFiles(row.paths)), 0);
        EXPECT_EQ(TextOf(Control(Role::Folder)), row.box) << row.paths[0];
    }
    EXPECT_TRUE(boxes_.empty());
}

// The icon group holds every size the artwork ships in.
TEST(ProgramResources, IconGroupHoldsEverySize) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(QUILLBEAM_ICON_ID), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    const int count = group[4] | (group[5] << 8);
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = group + 6 + 14 * i;
        sizes.push_back(entry[0]);
        EXPECT_EQ(entry[6], 32) << "bits per pixel of size " << int(entry[0]);
    }
    EXPECT_EQ(sizes, (std::vector<int>{QUILLBEAM_ICON_SIZES}));
}

}  // namespace
