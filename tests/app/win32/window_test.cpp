// The Windows window, at the DPI the test is told to expect (QUILLBEAM_EXPECTED_DPI, 96 by
// default): every case both windows share (window_cases.h), then what only the Win32 window has:
// its controls' classes and styles, a move to a screen of another density, the system's font
// grown threefold, the window's handle, the order of its children, a link's double click and
// value, and the icon group.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <oleacc.h>
// clang-format on

#include <algorithm>

#include "control_ids.h"
#include "resource_ids.h"
#include "win32_window_driver.h"
#include "window_cases.h"

// A shared case's name, where a row fails.
static void PrintTo(const WindowCase& row, std::ostream* out) {
    *out << row.name;
}

namespace {

namespace layout = quillbeam::layout;
using layout::Role;

class SharedCase : public ::testing::TestWithParam<WindowCase> {};

TEST_P(SharedCase, Holds) {
    Win32WindowDriver window;
    EXPECT_EQ(GetParam().run(window), "");
}

INSTANTIATE_TEST_SUITE_P(Window, SharedCase,
                         ::testing::ValuesIn(WindowCases().begin(), WindowCases().end()),
                         [](const auto& row) { return std::string(row.param.name); });

std::string RunCase(std::string_view name, WindowDriver& window) {
    return std::ranges::find(WindowCases(), name, &WindowCase::name)->run(window);
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

// Only the folder box takes files dropped from the file manager.
TEST(Win32Window, ControlsHaveTheirClassesAndStyles) {
    Win32WindowDriver window;
    for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
        const layout::Control& control = layout::kControls[i];
        SCOPED_TRACE(std::string(control.name));
        HWND handle = window.Handle(control);
        EXPECT_EQ(GetDlgCtrlID(handle), quillbeam::win32::ControlId(i));
        EXPECT_EQ(_wcsicmp(ClassOf(handle).c_str(), ExpectedClass(control.kind)), 0);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_STYLE));
        if (control.kind == layout::Kind::LineBox || control.kind == layout::Kind::MessageBox) {
            EXPECT_EQ((style & ES_MULTILINE) != 0, control.kind == layout::Kind::MessageBox);
            EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), 0u);
        }
        EXPECT_EQ((style & WS_TABSTOP) != 0, control.takesFocus());
        const auto extended = GetWindowLongPtrW(handle, GWL_EXSTYLE);
        EXPECT_EQ((extended & WS_EX_ACCEPTFILES) != 0, control.role == Role::Folder);
    }
    EXPECT_EQ(GetWindowLongPtrW(window.window().handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
}

// Moved to a screen of another density, the window places and sizes every control anew.
TEST(Win32Window, ADpiChangeScalesEveryControl) {
    Win32WindowDriver window;
    const int dpi = window.Dpi() == 96 ? 144 : 96;
    RECT suggested{0, 0, layout::Scale(layout::kClientSize.width, dpi),
                   layout::Scale(layout::kClientSize.height, dpi)};
    SendMessageW(window.window().handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window.Dpi(), dpi);
    for (const layout::Control& control : layout::kControls) {
        EXPECT_EQ(window.Place(control), layout::Scale(control.rect, dpi)) << control.name;
    }
}

// Even in a system font three times its usual size, no caption is cut off.
TEST(Win32Window, CaptionsShowTheirWholeTextInAThreefoldFont) {
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
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(large), &large, 0));
    // The window takes the system's font afresh as it does when moved to another screen.
    Win32WindowDriver window;
    RECT bounds{};
    GetWindowRect(window.window().handle(), &bounds);
    SendMessageW(window.window().handle(), WM_DPICHANGED, MAKEWPARAM(window.Dpi(), window.Dpi()),
                 reinterpret_cast<LPARAM>(&bounds));
    EXPECT_EQ(RunCase("CaptionsShowTheirWholeText", window), "");
}

// The object owns its window: destroying it destroys the window, whose last messages still reach
// the object.
TEST(Win32Window, TheWindowGoesWithItsObject) {
    int destroyed = 0;
    std::optional<quillbeam::win32::MainWindow> window(std::in_place, GetModuleHandleW(nullptr));
    window->setOnDestroyed([&destroyed] { ++destroyed; });
    HWND handle = window->handle();
    window.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(destroyed, 1);
}

// Screen readers name a box by the label just before it among the window's children, the order
// Tab follows too.
TEST(Win32Window, EachBoxComesRightAfterItsCaption) {
    Win32WindowDriver window;
    std::vector<const layout::Control*> children;
    for (HWND child = GetWindow(window.window().handle(), GW_CHILD); child != nullptr;
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
}

// The second click of a double click opens nothing more; screen readers read the link's address
// as its value and its action as a jump.
TEST(Win32Window, LinksOpenOncePerDoubleClickAndReadTheirAddress) {
    Win32WindowDriver window;
    for (const Role link : {Role::ResourcesLink, Role::UpdateLink}) {
        window.opened.clear();
        window.Click(window.Handle(layout::Find(link)), true);
        EXPECT_EQ(window.opened, std::vector{std::string(layout::LinkOf(link).address)});

        IAccessible* found = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(
                      window.Handle(layout::Find(link)), static_cast<DWORD>(OBJID_CLIENT),
                      __uuidof(IAccessible), reinterpret_cast<void**>(&found)),
                  S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        for (const auto& [get, expected] :
             {std::pair{&IAccessible::get_accValue,
                        std::wstring(layout::LinkOf(link).address.begin(),
                                     layout::LinkOf(link).address.end())},
              std::pair{&IAccessible::get_accDefaultAction, std::wstring(L"Jump")}}) {
            BSTR text = nullptr;
            EXPECT_EQ((found->*get)(self, &text), S_OK);
            EXPECT_EQ(std::wstring(text, SysStringLen(text)), expected);
            SysFreeString(text);
        }
        found->Release();
    }
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
