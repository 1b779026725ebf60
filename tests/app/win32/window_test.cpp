// The Windows window, at the DPI the test is told to expect (QUILLBEAM_EXPECTED_DPI, 96 by
// default): every case both windows share (window_cases.cpp) through its driver below, then what
// only the Win32 window has: which control takes dropped files, the focus on a restore before the
// window was ever left, a move to a screen of another density, the system's font grown threefold,
// the window's handle, a link's double click and value, and the icon group.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <array>
#include <optional>

#include "com_apartment.h"
#include "com_ptr.h"
#include "message_loop.h"
#include "resource_ids.h"
#include "unique_window.h"
#include "wide_text.h"
#include "win32_main_window.h"
#include "window_driver.h"

// A shared case's name, where a row fails.
void PrintTo(const WindowCase& row, std::ostream* out) {
    *out << row.name;
}

namespace {

namespace layout = quillbeam::layout;
using layout::Control;
using layout::Role;
using quillbeam::win32::FromWide;
using quillbeam::win32::ToWide;

constexpr int kColorElements[] = {COLOR_BTNFACE, COLOR_HOTLIGHT, COLOR_WINDOWTEXT};

std::u16string TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

// A screen reader's reference to the object itself.
VARIANT Self() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

// The accessible object a screen reader asks `control` for.
quillbeam::win32::ComPtr<IAccessible> AccessibleObject(HWND control) {
    IAccessible* found = nullptr;
    AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&found));
    return quillbeam::win32::ComPtr<IAccessible>(found);
}

// What a screen reader reads of `control` through `get`.
std::u16string Read(HWND control, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    const auto accessible = AccessibleObject(control);
    BSTR text = nullptr;
    if (!accessible || (accessible.get()->*get)(Self(), &text) != S_OK) return u"<no answer>";
    std::u16string read(text, text + SysStringLen(text));
    SysFreeString(text);
    return read;
}

// The Win32 window shown in this process under Wine. Keys are posted as the keyboard posts them
// and delivered as the program's loop delivers them; message boxes and the links' pages are
// caught in the window's system calls. The desktop's colours are put back when it goes.
class Win32Window : public WindowDriver {
  public:
    Win32Window() {
        window_.emplace(
            GetModuleHandleW(nullptr),
            quillbeam::win32::SystemCalls{
                [this](HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
                    const UINT icon = type & MB_ICONMASK;
                    const UINT buttons = type & (MB_TYPEMASK | MB_DEFMASK);
                    std::string kind = icon == MB_ICONERROR     ? "error "
                                       : icon == MB_ICONWARNING ? "warning "
                                       : icon == 0              ? ""
                                                                : "other ";
                    kind += buttons == MB_OK                        ? "OK"
                            : buttons == (MB_YESNO | MB_DEFBUTTON2) ? "Yes No"
                                                                    : "other";
                    if (owner != window_->handle()) kind += " not modal";
                    messages.push_back({FromWide(caption), FromWide(text), kind});
                    const Answer answer = messages.size() <= answers.size()
                                              ? answers[messages.size() - 1]
                                              : Answer::Ok;
                    return answer == Answer::Yes ? IDYES : answer == Answer::No ? IDNO : IDOK;
                },
                // Shown normally: whoever follows a link wants to see the page.
                [this](HWND owner, const wchar_t* verb, const wchar_t* file,
                       const wchar_t* parameters, const wchar_t* folder, int show) {
                    const bool page = owner == nullptr && std::wstring_view(verb) == L"open" &&
                                      *parameters == 0 && *folder == 0 && show == SW_SHOWNORMAL;
                    opened.push_back(page ? std::string(file, file + wcslen(file)) : "other");
                    return reinterpret_cast<HINSTANCE>(33);  // success: above 32
                },
                [this] { return highContrast_; }});
        ShowWindow(window_->handle(), SW_SHOWNORMAL);
        Pump();
    }
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;
    ~Win32Window() override {
        if (savedColors_) SetSysColors(3, kColorElements, savedColors_->data());
    }

    HWND Handle(const Control& control) const { return window_->control(control); }
    HWND Handle() const { return window_->handle(); }
    // Delivers everything queued, as the program's loop would, until the queue is empty.
    void Pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            quillbeam::win32::Deliver(window_->handle(), message);
        }
    }
    // The mouse messages a click on `control` brings it, or those of a double click.
    void Click(HWND control, bool twice) {
        for (const UINT down : {UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONDBLCLK}}) {
            SendMessageW(control, down, MK_LBUTTON, MAKELPARAM(2, 2));
            SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
            if (!twice) break;
        }
        Pump();
    }

    std::string Platform() const override { return "win32"; }
    int Dpi() const override { return window_->dpi(); }
    layout::Size ClientSize() const {
        RECT client{};
        GetClientRect(Handle(), &client);
        return {client.right, client.bottom};
    }
    layout::Rect Place(const Control& control) const override {
        RECT rect{};
        GetWindowRect(Handle(control), &rect);
        MapWindowPoints(HWND_DESKTOP, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    }
    std::u16string Text(const Control& control) const override { return TextOf(Handle(control)); }
    layout::Size TextExtent(const Control& control) const override {
        const quillbeam::win32::WindowDc dc = quillbeam::win32::GetWindowDc(Handle(control));
        const quillbeam::win32::SelectedObject font = quillbeam::win32::Select(
            dc.get(), reinterpret_cast<HFONT>(SendMessageW(Handle(control), WM_GETFONT, 0, 0)));
        const std::wstring text = ToWide(Text(control));
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return {size.cx, size.cy};
    }
    int LineCount(const Control& control) const override {
        return static_cast<int>(SendMessageW(Handle(control), EM_GETLINECOUNT, 0, 0));
    }
    const Control* Focused() const override { return ControlOf(GetFocus()); }
    // Where the system sends a click, the windows' regions taken into account.
    const Control* ControlAt(int x, int y) const override {
        POINT point{x, y};
        ClientToScreen(Handle(), &point);
        return ControlOf(WindowFromPoint(point));
    }
    bool ShowsAHandOver(const Control& control) const override {
        SetCursor(nullptr);
        SendMessageW(Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Handle(control)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor() == LoadCursorW(nullptr, IDC_HAND);
    }
    Accessible AccessibleOf(const Control& control) const override {
        const auto accessible = AccessibleObject(Handle(control));
        VARIANT role{};
        VARIANT state{};
        const bool link = accessible && accessible.get()->get_accRole(Self(), &role) == S_OK &&
                          role.lVal == ROLE_SYSTEM_LINK &&
                          accessible.get()->get_accState(Self(), &state) == S_OK &&
                          (state.lVal & STATE_SYSTEM_LINKED) != 0;
        return {Read(Handle(control), &IAccessible::get_accName),
                Read(Handle(control), &IAccessible::get_accDescription), link};
    }
    quillbeam::BannerRequest Request() const override { return window_->request(); }
    // The client area as drawn, from the window's own surface, with the caret hidden meanwhile.
    Picture Screenshot() override {
        HideCaret(nullptr);
        RedrawWindow(Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const layout::Size size = ClientSize();
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = size.width;
        format.bmiHeader.biHeight = -size.height;  // the top row first
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        const quillbeam::win32::WindowDc window = quillbeam::win32::GetWindowDc(Handle());
        const quillbeam::win32::Bitmap copy(
            CreateDIBSection(window.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
        const quillbeam::win32::MemoryDc memory(CreateCompatibleDC(window.get()));
        {
            const auto drawing = quillbeam::win32::Select(memory.get(), copy.get());
            BitBlt(memory.get(), 0, 0, size.width, size.height, window.get(), 0, 0, SRCCOPY);
        }
        ShowCaret(nullptr);
        const auto* pixels = static_cast<const std::uint32_t*>(bits);  // 0xAARRGGBB
        Picture picture{size.width, size.height, {pixels, pixels + size.width * size.height}};
        for (std::uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;
        return picture;
    }
    Picture ReferencePicture(const std::string& name) const override {
        return ReadPpm(std::filesystem::path(QUILLBEAM_REFERENCE_PICTURES) / (name + ".ppm"));
    }

    void Focus(const Control& control) override {
        SetFocus(Handle(control));
        Pump();
    }
    void SetText(const Control& control, std::u16string_view text) override {
        SetWindowTextW(Handle(control), ToWide(text).c_str());
    }
    void Type(std::u16string_view text) override {
        for (const char16_t unit : text) PostMessageW(GetFocus(), WM_CHAR, unit, 1);
        Pump();
    }
    // As the keyboard posts a key to the focused control, with Shift held for Shift+Tab.
    void Press(Key key) override {
        const UINT code = key == Key::Enter ? VK_RETURN : key == Key::Escape ? VK_ESCAPE : VK_TAB;
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        BYTE held[256] = {};
        std::copy(std::begin(keys), std::end(keys), std::begin(held));
        held[VK_SHIFT] = key == Key::ShiftTab ? 0x80 : 0;
        SetKeyboardState(held);
        const auto scan = static_cast<LPARAM>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC) << 16);
        PostMessageW(GetFocus(), WM_KEYDOWN, code, 1 | scan);
        PostMessageW(GetFocus(), WM_KEYUP, code, 1 | scan | (LPARAM{3} << 30));
        Pump();
        SetKeyboardState(keys);
    }
    void Click(const Control& control) override { Click(Handle(control), false); }
    // A window of this thread is activated, as a click on it would, and then this one again.
    void SwitchAwayAndBack() override {
        const quillbeam::win32::UniqueWindow other(
            CreateWindowExW(0, L"STATIC", L"Another window", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        SetActiveWindow(other.get());
        Pump();
        EXPECT_EQ(GetFocus(), other.get()) << "the other window took no focus";
        SetActiveWindow(Handle());
        Pump();
    }
    void PressForScreenReader(const Control& control) override {
        if (const auto accessible = AccessibleObject(Handle(control))) {
            accessible.get()->accDoDefaultAction(Self());
        }
        Pump();
    }
    // A DROPFILES block as the shell hands it over, and only to a window that takes files.
    void Drop(const Control& control, const std::vector<std::u16string>& paths) override {
        if ((GetWindowLongPtrW(Handle(control), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) == 0) return;
        std::u16string list;
        for (const std::u16string& path : paths) list += path + u'\0';
        HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
        auto* files = static_cast<DROPFILES*>(GlobalLock(block));
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        std::copy(list.begin(), list.end(), reinterpret_cast<char16_t*>(files + 1));
        GlobalUnlock(block);
        SendMessageW(Handle(control), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    }
    bool SetColors(const quillbeam::window::DesktopColors& colors) override {
        if (!savedColors_) {
            savedColors_.emplace();
            std::ranges::transform(kColorElements, savedColors_->begin(), GetSysColor);
        }
        const COLORREF values[] = {RGB(colors.window.red, colors.window.green, colors.window.blue),
                                   RGB(colors.link.red, colors.link.green, colors.link.blue),
                                   RGB(colors.text.red, colors.text.green, colors.text.blue)};
        highContrast_ = colors.highContrast;
        return SetSysColors(3, kColorElements, values) != 0;
    }
    void SetApplicationFolder(std::u16string folder) override {
        window_->setApplicationFolder(std::move(folder));
    }

  private:
    const Control* ControlOf(HWND handle) const {
        for (const Control& control : layout::kControls) {
            if (handle != nullptr && Handle(control) == handle) return &control;
        }
        return nullptr;
    }

    // As the program does: screen readers reach the controls' objects through COM.
    const quillbeam::win32::ComApartment apartment_;
    bool highContrast_ = false;  // the system's cannot be switched on under Wine
    std::optional<std::array<COLORREF, 3>> savedColors_;
    std::optional<quillbeam::win32::MainWindow> window_;
};

class SharedCase : public ::testing::TestWithParam<WindowCase> {};

TEST_P(SharedCase, Holds) {
    Win32Window window;
    EXPECT_EQ(GetParam().run(window), "");
}

INSTANTIATE_TEST_SUITE_P(Window, SharedCase,
                         ::testing::ValuesIn(WindowCases().begin(), WindowCases().end()),
                         [](const auto& row) { return std::string(row.param.name); });

// Only the folder box takes files dropped from the file manager. (The other styles show in the
// shared cases: the boxes' lines and scrolling, the focus order and the look.)
TEST(Win32Window, OnlyTheFolderBoxTakesFiles) {
    const Win32Window window;
    for (const Control& control : layout::kControls) {
        EXPECT_EQ((GetWindowLongPtrW(window.Handle(control), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0,
                  control.role == Role::Folder)
            << control.name;
    }
    EXPECT_EQ(GetWindowLongPtrW(window.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
}

// Minimized and restored before it was ever left for another window (as when started minimized),
// the window gives the focus to the first control: it still has none of the user's to give back.
TEST(Win32Window, RestoredBeforeItWasLeftItFocusesTheFirstControl) {
    Win32Window window;
    for (const WPARAM command : {WPARAM{SC_MINIMIZE}, WPARAM{SC_RESTORE}}) {
        SendMessageW(window.Handle(), WM_SYSCOMMAND, command, 0);
    }
    window.Pump();
    const Control* focused = window.Focused();
    EXPECT_EQ(focused != nullptr ? focused->name : "none", layout::FocusOrder().front()->name);
}

// Counts the fonts a control is handed, in the int that `count` points at.
LRESULT CALLBACK CountFonts(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR count) {
    if (message == WM_SETFONT) ++*reinterpret_cast<int*>(count);
    return DefSubclassProc(control, message, wParam, lParam);
}

// Moved to a screen of another density, the window places and sizes every control anew, and hands
// each the one font of the new density once.
TEST(Win32Window, ADpiChangeScalesEveryControl) {
    std::array<int, layout::kControls.size()> fonts{};  // outlives the window's subclasses
    const Win32Window window;
    for (const Control& control : layout::kControls) {
        SetWindowSubclass(window.Handle(control), CountFonts, 1,
                          reinterpret_cast<DWORD_PTR>(&fonts[layout::IndexOf(control)]));
    }
    const int dpi = window.Dpi() == 96 ? 144 : 96;
    RECT suggested{0, 0, layout::Scale(layout::kClientSize.width, dpi),
                   layout::Scale(layout::kClientSize.height, dpi)};
    SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window.Dpi(), dpi);
    const auto fontOf = [&window](const Control& control) {
        return reinterpret_cast<HFONT>(SendMessageW(window.Handle(control), WM_GETFONT, 0, 0));
    };
    const HFONT font = fontOf(layout::Find(Role::Folder));
    LOGFONTW held{};
    EXPECT_NE(GetObjectW(font, sizeof(held), &held), 0) << "the font held is deleted";
    for (const Control& control : layout::kControls) {
        EXPECT_EQ(window.Place(control), layout::Scale(control.rect, dpi)) << control.name;
        EXPECT_EQ(fonts[layout::IndexOf(control)], 1) << control.name;
        // The picture shows no text, and holds no font.
        if (control.kind != layout::Kind::Picture) {
            EXPECT_EQ(fontOf(control), font) << control.name;
        }
    }
}

// Even in a system font three times its usual size, no caption is cut off. The window takes the
// system's font afresh as it does when moved to another screen.
TEST(Win32Window, CaptionsShowWholeInAThreefoldFont) {
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
    Win32Window window;
    RECT bounds{};
    GetWindowRect(window.Handle(), &bounds);
    SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(window.Dpi(), window.Dpi()),
                 reinterpret_cast<LPARAM>(&bounds));
    const auto captions =
        std::ranges::find(WindowCases(), "CaptionsShowWholeAndInputsLieAbove", &WindowCase::name);
    EXPECT_EQ(captions->run(window), "");
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

// The second click of a double click opens nothing more; screen readers read the link's address
// as its value, and its action as a jump.
TEST(Win32Window, LinksOpenOncePerDoubleClickAndReadTheirAddress) {
    Win32Window window;
    for (const Role role : {Role::ResourcesLink, Role::UpdateLink}) {
        const std::string address(layout::LinkOf(role).address);
        window.opened.clear();
        window.Click(window.Handle(layout::Find(role)), true);
        EXPECT_EQ(window.opened, std::vector{address});
        HWND link = window.Handle(layout::Find(role));
        EXPECT_EQ(Read(link, &IAccessible::get_accValue),
                  std::u16string(address.begin(), address.end()));
        EXPECT_EQ(Read(link, &IAccessible::get_accDefaultAction), u"Jump");
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
