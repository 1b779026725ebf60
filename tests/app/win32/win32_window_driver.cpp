#include "win32_window_driver.h"

// clang-format off
#include <windows.h>
#include <oleacc.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>

#include "com_ptr.h"
#include "gdi_object.h"
#include "message_loop.h"
#include "wide_text.h"

namespace {

namespace layout = quillbeam::layout;
using layout::Control;
using quillbeam::win32::FromWide;
using quillbeam::win32::ToWide;

constexpr int kColorElements[] = {COLOR_BTNFACE, COLOR_HOTLIGHT, COLOR_WINDOWTEXT};

std::u16string TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

// An accessible object's name for itself.
VARIANT Self() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

// What a screen reader reads of an accessible object itself through `get`.
std::u16string Read(IAccessible* object,
                    HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR text = nullptr;
    if ((object->*get)(Self(), &text) != S_OK) return u"<no answer>";
    std::u16string read(text, text + SysStringLen(text));
    SysFreeString(text);
    return read;
}

quillbeam::win32::ComPtr<IAccessible> AccessibleObject(HWND control) {
    IAccessible* found = nullptr;
    AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&found));
    return quillbeam::win32::ComPtr<IAccessible>(found);
}

// A DROPFILES block holding `paths`, as the shell hands it over in WM_DROPFILES.
HGLOBAL DropFiles(const std::vector<std::u16string>& paths) {
    std::u16string list;
    for (const std::u16string& path : paths) list += path + u'\0';
    list += u'\0';
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<char16_t*>(files + 1));
    GlobalUnlock(block);
    return block;
}

WindowDriver::Message::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case 0:
            return WindowDriver::Message::Icon::None;
        case MB_ICONWARNING:
            return WindowDriver::Message::Icon::Warning;
        case MB_ICONERROR:
            return WindowDriver::Message::Icon::Error;
        default:
            return WindowDriver::Message::Icon::Other;
    }
}

WindowDriver::Message::Buttons ButtonsOf(UINT type) {
    if ((type & (MB_TYPEMASK | MB_DEFMASK)) == MB_OK) return WindowDriver::Message::Buttons::Ok;
    if ((type & (MB_TYPEMASK | MB_DEFMASK)) == (MB_YESNO | MB_DEFBUTTON2)) {
        return WindowDriver::Message::Buttons::YesOrNoByDefault;
    }
    return WindowDriver::Message::Buttons::Other;
}

}  // namespace

Win32WindowDriver::Win32WindowDriver() {
    window_.emplace(
        GetModuleHandleW(nullptr),
        quillbeam::win32::SystemCalls{
            [this](HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
                messages.push_back({FromWide(caption), FromWide(text), IconOf(type),
                                    ButtonsOf(type), owner == window_->handle()});
                const Answer answer =
                    messages.size() <= answers.size() ? answers[messages.size() - 1] : Answer::Ok;
                return answer == Answer::Yes ? IDYES : answer == Answer::No ? IDNO : IDOK;
            },
            [this](HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                   const wchar_t* folder, int show) {
                // Shown normally: whoever follows a link wants to see the page.
                const bool asAPage = owner == nullptr && std::wstring_view(verb) == L"open" &&
                                     *parameters == 0 && *folder == 0 && show == SW_SHOWNORMAL;
                opened.push_back(asAPage ? std::string(file, file + wcslen(file)) : "<other>");
                return reinterpret_cast<HINSTANCE>(33);  // success: above 32
            },
            [this] { return highContrast_; }});
    ShowWindow(window_->handle(), SW_SHOWNORMAL);
    Pump();
}

Win32WindowDriver::~Win32WindowDriver() {
    if (savedColors_) SetSysColors(3, kColorElements, savedColors_->data());
}

void Win32WindowDriver::Pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        quillbeam::win32::Deliver(window_->handle(), message);
    }
}

std::u16string Win32WindowDriver::Caption() const {
    return TextOf(window_->handle());
}

layout::Size Win32WindowDriver::ClientSize() const {
    RECT client{};
    GetClientRect(window_->handle(), &client);
    return {client.right, client.bottom};
}

layout::Rect Win32WindowDriver::Place(const Control& control) const {
    RECT rect{};
    GetWindowRect(Handle(control), &rect);
    MapWindowPoints(HWND_DESKTOP, window_->handle(), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::u16string Win32WindowDriver::Text(const Control& control) const {
    return TextOf(Handle(control));
}

layout::Size Win32WindowDriver::TextExtent(const Control& control) const {
    HWND handle = Handle(control);
    const quillbeam::win32::WindowDc dc = quillbeam::win32::GetWindowDc(handle);
    const quillbeam::win32::SelectedObject font = quillbeam::win32::Select(
        dc.get(), reinterpret_cast<HFONT>(SendMessageW(handle, WM_GETFONT, 0, 0)));
    const std::wstring text = ToWide(Text(control));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return {size.cx, size.cy};
}

int Win32WindowDriver::LineCount(const Control& control) const {
    return static_cast<int>(SendMessageW(Handle(control), EM_GETLINECOUNT, 0, 0));
}

const Control* Win32WindowDriver::ControlOf(HWND handle) const {
    for (const Control& control : layout::kControls) {
        if (handle != nullptr && Handle(control) == handle) return &control;
    }
    return nullptr;
}

const Control* Win32WindowDriver::Focused() const {
    return ControlOf(GetFocus());
}

// Where the system sends a click: it takes the windows' regions into account.
const Control* Win32WindowDriver::ControlAt(int x, int y) const {
    POINT point{x, y};
    ClientToScreen(window_->handle(), &point);
    return ControlOf(WindowFromPoint(point));
}

bool Win32WindowDriver::ShowsAHandOver(const Control& control) const {
    SetCursor(nullptr);
    SendMessageW(window_->handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Handle(control)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor() == LoadCursorW(nullptr, IDC_HAND);
}

WindowDriver::Accessible Win32WindowDriver::AccessibleOf(const Control& control) const {
    const auto accessible = AccessibleObject(Handle(control));
    if (!accessible) return {u"<no accessible object>", {}, false};
    VARIANT role{};
    VARIANT state{};
    const bool link = accessible.get()->get_accRole(Self(), &role) == S_OK &&
                      role.lVal == ROLE_SYSTEM_LINK &&
                      accessible.get()->get_accState(Self(), &state) == S_OK &&
                      (state.lVal & STATE_SYSTEM_LINKED) != 0;
    return {Read(accessible.get(), &IAccessible::get_accName),
            Read(accessible.get(), &IAccessible::get_accDescription), link};
}

// The client area as drawn, from the window's own surface; the caret is hidden meanwhile.
Picture Win32WindowDriver::Screenshot() {
    HideCaret(nullptr);
    RedrawWindow(window_->handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const layout::Size size = ClientSize();
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = size.width;
    format.bmiHeader.biHeight = -size.height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const quillbeam::win32::WindowDc window = quillbeam::win32::GetWindowDc(window_->handle());
    const quillbeam::win32::Bitmap copy(
        CreateDIBSection(window.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    const quillbeam::win32::MemoryDc memory(CreateCompatibleDC(window.get()));
    {
        const quillbeam::win32::SelectedObject drawing =
            quillbeam::win32::Select(memory.get(), copy.get());
        BitBlt(memory.get(), 0, 0, size.width, size.height, window.get(), 0, 0, SRCCOPY);
    }
    ShowCaret(nullptr);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    Picture picture{size.width, size.height, {}};
    picture.pixels.assign(pixels, pixels + size.width * size.height);
    for (std::uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;  // BGRA is 0xAARRGGBB
    return picture;
}

Picture Win32WindowDriver::ReferencePicture(const std::string& name) const {
    return ReadPpm(std::filesystem::path(QUILLBEAM_REFERENCE_PICTURES) / (name + ".ppm"));
}

void Win32WindowDriver::Focus(const Control& control) {
    SetFocus(Handle(control));
    Pump();
}

void Win32WindowDriver::SetText(const Control& control, std::u16string_view text) {
    SetWindowTextW(Handle(control), ToWide(text).c_str());
}

void Win32WindowDriver::Type(std::u16string_view text) {
    for (const char16_t character : text) PostMessageW(GetFocus(), WM_CHAR, character, 1);
    Pump();
}

// A key as the keyboard posts it to the focused control, with Shift held for Shift+Tab.
void Win32WindowDriver::Press(Key key) {
    const UINT code = key == Key::Tab || key == Key::ShiftTab ? VK_TAB
                      : key == Key::Enter                     ? VK_RETURN
                                                              : VK_ESCAPE;
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE held[256] = {};
    std::copy(std::begin(keys), std::end(keys), std::begin(held));
    held[VK_SHIFT] = key == Key::ShiftTab ? 0x80 : 0;
    SetKeyboardState(held);
    const UINT scan = MapVirtualKeyW(code, MAPVK_VK_TO_VSC);
    PostMessageW(GetFocus(), WM_KEYDOWN, code, static_cast<LPARAM>(1 | (scan << 16)));
    PostMessageW(GetFocus(), WM_KEYUP, code, static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
    Pump();
    SetKeyboardState(keys);
}

void Win32WindowDriver::Click(HWND control, bool twice) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    if (twice) {
        SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    Pump();
}

void Win32WindowDriver::Click(const Control& control) {
    Click(Handle(control), false);
}

void Win32WindowDriver::PressForScreenReader(const Control& control) {
    const auto accessible = AccessibleObject(Handle(control));
    if (accessible) accessible.get()->accDoDefaultAction(Self());
    Pump();
}

// Only a window that takes dropped files is handed them by the shell.
void Win32WindowDriver::Drop(const Control& control, const std::vector<std::u16string>& paths) {
    if ((GetWindowLongPtrW(Handle(control), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) == 0) return;
    SendMessageW(Handle(control), WM_DROPFILES, reinterpret_cast<WPARAM>(DropFiles(paths)), 0);
}

bool Win32WindowDriver::SetColors(const quillbeam::window::DesktopColors& colors) {
    if (!savedColors_) {
        savedColors_.emplace();
        for (std::size_t i = 0; i < 3; ++i) (*savedColors_)[i] = GetSysColor(kColorElements[i]);
    }
    const COLORREF values[] = {RGB(colors.window.red, colors.window.green, colors.window.blue),
                               RGB(colors.link.red, colors.link.green, colors.link.blue),
                               RGB(colors.text.red, colors.text.green, colors.text.blue)};
    highContrast_ = colors.highContrast;
    return SetSysColors(3, kColorElements, values) != 0;
}
