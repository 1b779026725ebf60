// The Windows window against the shared layout table, at the DPI the test is told to expect
// (QUILLBEAM_EXPECTED_DPI, 96 by default), and its keyboard behaviour with keys posted as the
// system posts them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "control_ids.h"
#include "main_window.h"
#include "message_loop.h"
#include "resource_ids.h"
#include "window_layout.h"

namespace layout = quillbeam::layout;
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

layout::Rect PlaceInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.emplace(GetModuleHandleW(nullptr));
        window_->setLinkOpener([this](std::string_view address) { opened_.emplace_back(address); });
        ShowWindow(window_->handle(), SW_SHOWNORMAL);
        Pump();
    }

    HWND Control(std::string_view name) const { return window_->control(name); }

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

    std::optional<MainWindow> window_;
    std::vector<std::string> opened_;
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
        HWND handle = Control(control.name);
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

// Whatever font the system gives, no label's text is cut off by its fixed box.
TEST_F(WindowTest, EveryLabelShowsItsWholeText) {
    for (const layout::Control& control : layout::kControls) {
        if (control.kind != layout::Kind::Label) continue;
        HWND label = Control(control.name);
        HDC dc = GetDC(label);
        const HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        const std::wstring text = TextOf(label);
        SIZE needed{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &needed);
        SelectObject(dc, previous);
        ReleaseDC(label, dc);
        RECT box{};
        GetClientRect(label, &box);
        EXPECT_LE(needed.cx, box.right) << control.name;
        EXPECT_LE(needed.cy, box.bottom) << control.name;
    }
}

TEST_F(WindowTest, FocusStartsInTheFolderBoxAndTabFollowsTheTable) {
    const auto order = layout::FocusOrder();
    ASSERT_EQ(GetFocus(), Control(order.front()->name));
    for (std::size_t step = 1; step <= order.size(); ++step) {
        Press(VK_TAB);
        EXPECT_EQ(GetFocus(), Control(order[step % order.size()]->name)) << step;
    }
}

// Several lines in a box one line high: Enter breaks the line with CR LF, which reaches the
// banner request unchanged; Tab leaves the box, Escape does nothing.
TEST_F(WindowTest, MessageBoxesTakeLinesButNotTabs) {
    HWND text3 = Control("Text3");
    SetFocus(text3);
    SetWindowTextW(text3, L"");
    Type(L"first");
    Press(VK_RETURN);
    Type(L"second");
    EXPECT_EQ(TextOf(text3), L"first\r\nsecond");
    EXPECT_EQ(window_->request().messages[1], u"first\r\nsecond");

    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Control("Text4"));
    EXPECT_EQ(TextOf(text3), L"first\r\nsecond");

    Press(VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(window_->handle()));
    EXPECT_EQ(TextOf(Control("Text4")), L"Text4");
}

TEST_F(WindowTest, OneLineBoxesIgnoreEnterAndEscape) {
    for (const char* name : {"Text1", "Text6"}) {
        HWND box = Control(name);
        SetFocus(box);
        SetWindowTextW(box, L"typed");
        Press(VK_RETURN);
        Press(VK_ESCAPE);
        EXPECT_EQ(TextOf(box), L"typed") << name;
        EXPECT_EQ(GetFocus(), box) << name;
    }
    EXPECT_TRUE(IsWindowVisible(window_->handle()));
    EXPECT_TRUE(opened_.empty());
}

TEST_F(WindowTest, LinksLookAndActLikeLinks) {
    HWND label7 = Control("Label7");
    HDC dc = GetDC(label7);
    SendMessageW(window_->handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(label7));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    ReleaseDC(label7, dc);

    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    for (const char* name : {"Image1", "Label7"}) {
        SetCursor(nullptr);
        EXPECT_TRUE(SendMessageW(window_->handle(), WM_SETCURSOR,
                                 reinterpret_cast<WPARAM>(Control(name)),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)))
            << name;
        EXPECT_EQ(GetCursor(), hand) << name;
        SendMessageW(window_->handle(), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(Control(name)), STN_CLICKED),
                     reinterpret_cast<LPARAM>(Control(name)));
    }
    EXPECT_EQ(opened_, (std::vector<std::string>{std::string(layout::kResourcesPageUrl),
                                                 std::string(layout::kUpdatePageUrl)}));
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
