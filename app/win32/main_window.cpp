#include "main_window.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <stdexcept>

#include "application_folder.h"
#include "control_ids.h"
#include "dpi.h"
#include "message_boxes.h"
#include "message_edit.h"
#include "modAPI.h"
#include "package_writer.h"
#include "resource_ids.h"
#include "utf8.h"
#include "wide_text.h"

namespace quillbeam::win32 {
namespace {

constexpr wchar_t kClassName[] = L"Quillbeam";
// A fixed frame: the controls keep their places, so the window keeps its size.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExtendedStyle = 0;
constexpr COLORREF kLinkColor = RGB(0, 0, 255);
constexpr int kSmallestFontPixels = 8;

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extendedStyle;
};

// Every control clips its siblings, so that where a box overlaps a label the box is drawn whole.
ControlClass ClassOf(const layout::Control& control) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const DWORD notify = control.isLink() ? SS_NOTIFY : 0;
    switch (control.kind) {
        case layout::Kind::Picture:
            return {L"STATIC", kChild | SS_BITMAP | notify, 0};
        case layout::Kind::Label:
            return {L"STATIC", kChild | SS_LEFT | SS_NOPREFIX | notify, 0};
        case layout::Kind::LineBox:
            return {L"EDIT", kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case layout::Kind::MessageBox:
            // No scroll bars and no horizontal scrolling, so long lines wrap; vertical scrolling
            // lets a box one line high take more lines.
            return {L"EDIT", kChild | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                    WS_EX_CLIENTEDGE};
        case layout::Kind::Button:
            return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    }
    return {L"STATIC", kChild, 0};
}

std::size_t IndexOf(const layout::Control& control) {
    return static_cast<std::size_t>(&control - layout::kControls.data());
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, kClassName, &windowClass)) return;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kApplicationIconId));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0) throw std::runtime_error("RegisterClassExW failed");
}

// The widest label text in `font` against its box: how far the font must shrink to fit them all.
double FittingScale(HWND window, HFONT font, int dpi) {
    const WindowDc dc = GetWindowDc(window);
    const HGDIOBJ previous = SelectObject(dc.get(), font);
    double scale = 1;
    for (const layout::Control& control : layout::kControls) {
        if (control.kind != layout::Kind::Label) continue;
        const std::wstring text = ToWide(control.firstText);
        SIZE needed{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &needed);
        if (needed.cx > 0) {
            scale = std::min(scale, static_cast<double>(layout::Scale(control.rect.width, dpi)) /
                                        static_cast<double>(needed.cx));
        }
    }
    SelectObject(dc.get(), previous);
    return scale;
}

}  // namespace

void OpenWithShell(std::string_view address) {
    const std::wstring wide = ToWide(address);
    // Shown normally: whoever clicks a link wants to see the page. The result is not ours to act
    // on: nothing comes back to the window.
    ShellExecuteW(nullptr, L"open", wide.c_str(), L"", L"", SW_SHOWNORMAL);
}

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {
    RegisterWindowClass(instance, Procedure);
    const std::wstring caption = ToWide(layout::kWindowCaption);
    const SIZE size = WindowSizeFor({layout::kClientSize.width, layout::kClientSize.height}, kStyle,
                                    kExtendedStyle, kDefaultDpi);
    CreateWindowExW(kExtendedStyle, kClassName, caption.c_str(), kStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance, this);
    if (window_ == nullptr) throw std::runtime_error("CreateWindowExW failed");

    artwork_ = Bitmap(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(kBannerArtworkId),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    CreateControls();

    const int dpi = WindowDpi(window_);
    ApplyDpi(dpi);
    const SIZE scaled = WindowSizeFor({layout::Scale(layout::kClientSize.width, dpi),
                                       layout::Scale(layout::kClientSize.height, dpi)},
                                      kStyle, kExtendedStyle, dpi);
    SetWindowPos(window_, nullptr, 0, 0, scaled.cx, scaled.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetFocus(control(layout::FocusOrder().front()->name));
}

MainWindow::~MainWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}

HWND MainWindow::control(std::string_view name) const {
    return controls_[IndexOf(layout::Find(name))];
}

// Inputs are made first, in focus order: the keyboard interface moves through controls in the
// order they were made, and the first made are drawn on top, above the labels and the picture.
void MainWindow::CreateControls() {
    std::vector<const layout::Control*> order = layout::FocusOrder();
    for (const layout::Control& control : layout::kControls) {
        if (!control.takesFocus()) order.push_back(&control);
    }
    for (const layout::Control* control : order) {
        const ControlClass controlClass = ClassOf(*control);
        const std::wstring text = ToWide(control->firstText);
        const std::size_t index = IndexOf(*control);
        HWND handle = CreateWindowExW(
            controlClass.extendedStyle, controlClass.name, text.c_str(), controlClass.style,
            control->rect.left, control->rect.top, control->rect.width, control->rect.height,
            window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index))), instance_,
            nullptr);
        if (handle == nullptr) throw std::runtime_error("CreateWindowExW failed for a control");
        if (control->kind == layout::Kind::MessageBox) MakeMessageEdit(handle);
        controls_[index] = handle;
    }
}

void MainWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    FitFont();
    ScaleArtwork();
    for (const layout::Control& control : layout::kControls) {
        const layout::Rect rect = layout::Scale(control.rect, dpi);
        HWND handle = controls_[IndexOf(control)];
        SetWindowPos(handle, nullptr, rect.left, rect.top, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

// The layout is fixed in pixels, while the system's font varies. Narrows the message font until
// every label's text fits its box, so that none is cut off. Text width grows in proportion to
// the font's height, so one measurement gives the size; rounding is corrected afterwards.
void MainWindow::FitFont() {
    LOGFONTW logical = MessageFont(dpi_);
    const LONG sign = logical.lfHeight < 0 ? -1 : 1;
    const auto smallest = static_cast<LONG>(layout::Scale(kSmallestFontPixels, dpi_));
    Font font(CreateFontIndirectW(&logical));
    const double scale = FittingScale(window_, font.get(), dpi_);
    LONG height = std::abs(logical.lfHeight);
    if (scale < 1) {
        height = std::max(smallest, static_cast<LONG>(std::floor(height * scale)));
        logical.lfHeight = sign * height;
        font = Font(CreateFontIndirectW(&logical));
    }
    while (height > smallest && FittingScale(window_, font.get(), dpi_) < 1) {
        logical.lfHeight = sign * --height;
        font = Font(CreateFontIndirectW(&logical));
    }
    // The controls are handed the new font before the old one is deleted (ApplyDpi).
    std::swap(font_, font);
    for (HWND handle : controls_) {
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
}

// The artwork is drawn at its own size at 96 dots per inch, and scaled with the window beyond.
void MainWindow::ScaleArtwork() {
    if (!artwork_) return;
    HWND picture = control("Image1");
    const layout::Rect rect = layout::Scale(layout::Find("Image1").rect, dpi_);
    BITMAP source{};
    GetObjectW(artwork_.get(), sizeof(source), &source);
    const WindowDc screen = GetWindowDc(nullptr);
    Bitmap scaled(CreateCompatibleBitmap(screen.get(), rect.width, rect.height));
    const MemoryDc from(CreateCompatibleDC(screen.get()));
    const MemoryDc to(CreateCompatibleDC(screen.get()));
    const HGDIOBJ previousFrom = SelectObject(from.get(), artwork_.get());
    const HGDIOBJ previousTo = SelectObject(to.get(), scaled.get());
    SetStretchBltMode(to.get(), HALFTONE);
    StretchBlt(to.get(), 0, 0, rect.width, rect.height, from.get(), 0, 0, source.bmWidth,
               source.bmHeight, SRCCOPY);
    SelectObject(from.get(), previousFrom);
    SelectObject(to.get(), previousTo);
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled.get()));
    shownArtwork_ = std::move(scaled);
}

std::u16string MainWindow::TextOf(std::string_view name) const {
    HWND handle = control(name);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

BannerRequest MainWindow::request() const {
    return {TextOf("Text1"),
            {TextOf("Text2"), TextOf("Text3"), TextOf("Text4"), TextOf("Text5")},
            TextOf("Text6")};
}

void MainWindow::Run(layout::Command command) {
    switch (command) {
        case layout::Command::Browse:
            Browse();
            break;
        case layout::Command::Generate:
            Generate();
            break;
        case layout::Command::ResourcesPage:
        case layout::Command::UpdatePage:
            for (const layout::Control& control : layout::kControls) {
                if (control.command == command) openLink_(layout::LinkAddress(control));
            }
            break;
        case layout::Command::None:
            break;
    }
}

void MainWindow::Browse() {
    // A cancelled dialog gives the empty text, which clears the box as well.
    const std::wstring chosen =
        ToWide(modAPI::ChooseFolder(window_, layout::kBrowseTitle, u"", {.newStyle = true}));
    SetWindowTextW(control("Text1"), chosen.c_str());
}

// A failure is reported and the window stays as it was, so that the user can correct the folder
// and try again without retyping the messages.
void MainWindow::Generate() {
    try {
        WindowPackagePlatform platform(window_);
        const std::u16string folder = applicationFolder_ ? *applicationFolder_ : ExecutableFolder();
        GeneratePackage(request(), folder, platform);
    } catch (const FileFailure& failure) {
        ShowFailureReport(window_, failure);
    }
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // No exception may unwind into the system's code that called us.
    try {
        return self->Handle(message, wParam, lParam);
    } catch (const std::exception& failure) {
        ShowFailureReport(window, FileFailure(0, failure.what()));
    } catch (...) {
        ShowFailureReport(window, FileFailure(0, "unexpected failure"));
    }
    return 0;
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            // Buttons report BN_CLICKED and clickable labels STN_CLICKED, both 0.
            const int id = LOWORD(wParam);
            const int index = id - kFirstControlId;
            if (HIWORD(wParam) == 0 && lParam != 0 && index >= 0 &&
                index < static_cast<int>(layout::kControls.size())) {
                Run(layout::kControls[static_cast<std::size_t>(index)].command);
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            const LRESULT brush = DefWindowProcW(window_, message, wParam, lParam);
            if (reinterpret_cast<HWND>(lParam) == control("Label7")) {
                SetTextColor(reinterpret_cast<HDC>(wParam), kLinkColor);
            }
            return brush;
        }
        case WM_SETCURSOR: {
            const auto over = reinterpret_cast<HWND>(wParam);
            if (over == control("Image1") || over == control("Label7")) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        }
        case WM_ACTIVATE:
            // Focus comes back to the control that had it when the window was left.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
            }
            break;
        case WM_SETFOCUS:
            SetFocus(lastFocus_ != nullptr ? lastFocus_ : control("Text1"));
            return 0;
        case WM_DPICHANGED: {
            ApplyDpi(HIWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_DESTROY:
            if (onDestroyed_) onDestroyed_();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace quillbeam::win32
