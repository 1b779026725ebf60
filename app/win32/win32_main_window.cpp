#include "win32_main_window.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <stdexcept>

#include "control_ids.h"
#include "dpi.h"
#include "fitting_font.h"
#include "generate_command.h"
#include "link_color.h"
#include "resource_ids.h"
#include "unshowable_characters.h"
#include "wide_text.h"
#include "win32_folder_edit.h"
#include "win32_link_accessible.h"
#include "win32_message_edit.h"
#include "win32_modAPI.h"

namespace quillbeam::win32 {
namespace {

constexpr wchar_t kClassName[] = L"Quillbeam";
// A fixed frame: the controls keep their places, so the window keeps its size.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExtendedStyle = 0;

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extendedStyle;
};

// Every control clips its siblings, so that where one overlaps another only one draws there.
ControlClass ClassOf(const layout::Control& control) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const DWORD notify = control.isLink() ? SS_NOTIFY : 0;
    // The folder box takes files dropped from the file manager: the style is what DragAcceptFiles
    // sets, given here so that shell32 is loaded only when a drop comes.
    const DWORD acceptsDrops = control.role == layout::Role::Folder ? WS_EX_ACCEPTFILES : 0;
    switch (control.kind) {
        case layout::Kind::Picture:
            return {L"STATIC", kChild | SS_BITMAP | notify, 0};
        case layout::Kind::Label:
            return {L"STATIC", kChild | SS_LEFT | SS_NOPREFIX | notify, 0};
        case layout::Kind::LineBox:
            return {L"EDIT", kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE | acceptsDrops};
        case layout::Kind::MultiLineBox:
            // No scroll bars and no horizontal scrolling, so long lines wrap; vertical scrolling
            // lets a box one line high take more lines.
            return {L"EDIT", kChild | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                    WS_EX_CLIENTEDGE};
        case layout::Kind::Button:
            return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    }
    return {L"STATIC", kChild, 0};
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

// The widths of `texts` in `font`, as drawn in `window`.
std::vector<double> TextWidths(HWND window, HFONT font,
                               const std::vector<std::u16string_view>& texts) {
    const WindowDc dc = GetWindowDc(window);
    const SelectedObject selected = Select(dc.get(), font);
    std::vector<double> widths;
    for (const std::u16string_view text : texts) {
        const std::wstring wide = ToWide(text);
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
        widths.push_back(size.cx);
    }
    return widths;
}

// `source` drawn anew at `width` by `height`, smoothed. Both selections end before the copy is
// handed on: a bitmap selected into one device context can be selected into no other.
Bitmap Stretched(HBITMAP source, int width, int height) {
    BITMAP sourceSize{};
    GetObjectW(source, sizeof(sourceSize), &sourceSize);
    const WindowDc screen = GetWindowDc(nullptr);
    Bitmap stretched(CreateCompatibleBitmap(screen.get(), width, height));
    const MemoryDc from(CreateCompatibleDC(screen.get()));
    const MemoryDc to(CreateCompatibleDC(screen.get()));
    const SelectedObject reading = Select(from.get(), source);
    const SelectedObject drawing = Select(to.get(), stretched.get());
    SetStretchBltMode(to.get(), HALFTONE);
    StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, sourceSize.bmWidth,
               sourceSize.bmHeight, SRCCOPY);
    return stretched;
}

// The order the controls are made in, which is the order of the window's children. The keyboard
// interface moves through the inputs in that order, and screen readers name a box by the label
// just before it: so the inputs come in focus order, each right after its caption, and the links
// that caption nothing where they lie from top to bottom.
std::vector<const layout::Control*> ChildOrder() {
    std::vector<const layout::Control*> order;
    for (const layout::Control* input : layout::FocusOrder()) {
        for (const layout::Control& caption : layout::kControls) {
            if (caption.captionOf == input->role) order.push_back(&caption);
        }
        order.push_back(input);
    }
    for (const layout::Control& control : layout::kControls) {
        if (control.takesFocus() || control.captionOf) continue;
        order.insert(std::ranges::find_if(order,
                                          [&control](const layout::Control* placed) {
                                              return placed->rect.top > control.rect.top;
                                          }),
                     &control);
    }
    return order;
}

RECT ToRect(const layout::Rect& rect) {
    return {rect.left, rect.top, rect.left + rect.width, rect.top + rect.height};
}

window::Rgb SystemColor(int index) {
    const COLORREF color = GetSysColor(index);
    return {GetRValue(color), GetGValue(color), GetBValue(color)};
}

}  // namespace

bool HighContrastIsOn() {
    HIGHCONTRASTW highContrast{};
    highContrast.cbSize = sizeof(highContrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(highContrast), &highContrast, 0) &&
           (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

MainWindow::MainWindow(HINSTANCE instance, SystemCalls calls)
    : instance_(instance), calls_(std::move(calls)) {
    RegisterWindowClass(instance, Procedure);
    const std::wstring caption = ToWide(layout::kWindowCaption);
    const SIZE size = WindowSizeFor({layout::kClientSize.width, layout::kClientSize.height}, kStyle,
                                    kExtendedStyle, kDefaultDpi);
    CreateWindowExW(kExtendedStyle, kClassName, caption.c_str(), kStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance, this);
    if (!window_) throw std::runtime_error("CreateWindowExW failed");

    artwork_ = Bitmap(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(kBannerArtworkId),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    CreateControls();

    const int dpi = WindowDpi(window_.get());
    ApplyDpi(dpi);
    const SIZE scaled = WindowSizeFor({layout::Scale(layout::kClientSize.width, dpi),
                                       layout::Scale(layout::kClientSize.height, dpi)},
                                      kStyle, kExtendedStyle, dpi);
    SetWindowPos(window_.get(), nullptr, 0, 0, scaled.cx, scaled.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetFocus(control(*layout::FocusOrder().front()));
}

// The table's control that `handle` stands for, or none.
const layout::Control* MainWindow::ControlOf(HWND handle) const {
    const auto found = std::ranges::find(controls_, handle);
    if (handle == nullptr || found == controls_.end()) return nullptr;
    return &layout::kControls[static_cast<std::size_t>(found - controls_.begin())];
}

void MainWindow::CreateControls() {
    for (const layout::Control* control : ChildOrder()) {
        const ControlClass controlClass = ClassOf(*control);
        const std::wstring text = ToWide(control->firstText);
        const std::size_t index = layout::IndexOf(*control);
        HWND handle = CreateWindowExW(
            controlClass.extendedStyle, controlClass.name, text.c_str(), controlClass.style,
            control->rect.left, control->rect.top, control->rect.width, control->rect.height,
            window_.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index))),
            instance_, nullptr);
        if (handle == nullptr) throw std::runtime_error("CreateWindowExW failed for a control");
        if (control->kind == layout::Kind::MultiLineBox) MakeMessageEdit(handle);
        if (control->role == layout::Role::Folder) MakeFolderEdit(handle);
        if (control->isLink()) MakeAccessibleLink(handle, *control);
        controls_[index] = handle;
    }
}

void MainWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    // The controls hold the font replaced until each is handed the new one below.
    const Font replaced = FitFont();
    ScaleArtwork();
    for (const layout::Control& control : layout::kControls) {
        const layout::Rect rect = layout::Scale(control.rect, dpi);
        HWND handle = this->control(control);
        SetWindowPos(handle, nullptr, rect.left, rect.top, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    UncoverInputs();
    InvalidateRect(window_.get(), nullptr, TRUE);
}

// A caption comes before its box among the children, and the first are drawn on top. Where a box
// or button overlaps a label or the picture (the last row of Label5 lies under Text5), the label
// gives that part up, so that the input is drawn whole and takes the clicks there.
void MainWindow::UncoverInputs() const {
    for (const layout::Control& label : layout::kControls) {
        if (label.takesFocus()) continue;
        const RECT place = ToRect(layout::Scale(label.rect, dpi_));
        Region shown(CreateRectRgn(0, 0, place.right - place.left, place.bottom - place.top));
        bool covered = false;
        for (const layout::Control& input : layout::kControls) {
            RECT shared{};
            const RECT over = ToRect(layout::Scale(input.rect, dpi_));
            if (!input.takesFocus() || !IntersectRect(&shared, &place, &over)) continue;
            OffsetRect(&shared, -place.left, -place.top);
            const Region cut(CreateRectRgnIndirect(&shared));
            CombineRgn(shown.get(), shown.get(), cut.get(), RGN_DIFF);
            covered = true;
        }
        // The window owns the region it is given.
        if (SetWindowRgn(control(label), covered ? shown.get() : nullptr, TRUE) && covered) {
            shown.Release();
        }
    }
}

// Blue where it reads on the window, else the system's colour for links (hot-tracked items),
// which the high-contrast colours set too.
COLORREF MainWindow::LinkTextColor() const {
    const window::Rgb color =
        window::LinkColor({SystemColor(COLOR_BTNFACE), SystemColor(COLOR_HOTLIGHT),
                           SystemColor(COLOR_WINDOWTEXT), calls_.highContrast()});
    return RGB(color.red, color.green, color.blue);
}

// The system's message font, narrowed until every caption fits its box, becomes the window's font;
// the font it replaces is handed back.
Font MainWindow::FitFont() {
    const LOGFONTW message = MessageFont(dpi_);
    const LONG sign = message.lfHeight < 0 ? -1 : 1;
    // The font last measured is kept: it is usually the one chosen.
    Font font;
    int fontHeight = 0;
    const auto makeFont = [&](int height) {
        if (height == fontHeight) return;
        LOGFONTW logical = message;
        logical.lfHeight = sign * height;
        font = Font(CreateFontIndirectW(&logical));
        fontHeight = height;
    };
    const int height =
        window::FittingFontSize(std::abs(message.lfHeight), dpi_,
                                [&](int size, const std::vector<std::u16string_view>& texts) {
                                    makeFont(size);
                                    return TextWidths(window_.get(), font.get(), texts);
                                });
    makeFont(height);
    std::swap(font_, font);
    return font;
}

// The artwork is drawn at its own size at 96 dots per inch, and scaled with the window beyond.
void MainWindow::ScaleArtwork() {
    if (!artwork_) return;
    const layout::Control& picture = layout::Find(layout::Role::ResourcesLink);
    const layout::Rect rect = layout::Scale(picture.rect, dpi_);
    Bitmap scaled = Stretched(artwork_.get(), rect.width, rect.height);
    SendMessageW(control(picture), STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(scaled.get()));
    shownArtwork_ = std::move(scaled);
}

BannerRequest MainWindow::request() const {
    return window::RequestFromBoxes([this](layout::Role role) {
        HWND box = control(role);
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
        return FromWide(text);
    });
}

void MainWindow::Run(const layout::Control& control) {
    if (control.role == layout::Role::Browse) {
        Browse();
    } else if (control.role == layout::Role::Generate) {
        Generate();
    } else if (control.isLink()) {
        // Shown normally: whoever clicks a link wants to see the page. The result is not ours to
        // act on: nothing comes back to the window.
        const std::wstring address = ToWide(layout::LinkOf(control.role).address);
        calls_.shellExecute(nullptr, L"open", address.c_str(), L"", L"", SW_SHOWNORMAL);
    }
}

void MainWindow::Browse() {
    // A cancelled dialog gives the empty text, which clears the box as well.
    const std::wstring chosen =
        ToWide(modAPI::ChooseFolder(window_.get(), layout::kBrowseTitle, u"", {.newStyle = true}));
    SetWindowTextW(control(layout::Role::Folder), chosen.c_str());
}

// Characters the banner cannot show are named first, and the user may stop there: nothing is
// written, and the first box holding them has the focus, also when the window is activated again.
// A failure is reported and the window stays as it was, so that the user can correct the folder
// and try again without retyping the messages.
void MainWindow::Generate() {
    const BannerRequest request = this->request();
    if (const auto question = window::QuestionBeforeWriting(request)) {
        if (!AskToGoOn(calls_.messageBox, window_.get(), question->text)) {
            lastFocus_ = control(question->firstBox);
            SetFocus(lastFocus_);
            return;
        }
    }
    WindowPackagePlatform platform(window_.get(), calls_.messageBox);
    if (const auto failure = window::RunGenerate(request, applicationFolder_, platform)) {
        ShowFailureReport(calls_.messageBox, window_.get(), *failure);
    }
}

void MainWindow::ReportFailure(const std::exception& failure) {
    ShowFailureReport(calls_.messageBox, window_.get(),
                      window::FailureReportText(FileFailure(0, failure.what())));
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = UniqueWindow(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window is gone, by the user's hand or by window_'s own: nothing is left to destroy.
        self->window_.Release();
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // No exception may unwind into the system's code that called us.
    try {
        return self->Handle(window, message, wParam, lParam);
    } catch (const std::exception& failure) {
        self->ReportFailure(failure);
    } catch (...) {
        self->ReportFailure(std::runtime_error("unexpected failure"));
    }
    return 0;
}

// `window` is the window's own handle, which window_ no longer holds while it destroys it.
LRESULT MainWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            // Buttons report BN_CLICKED and clickable labels STN_CLICKED, both 0. Other
            // notifications (a label's STN_DBLCLK after its second click) run nothing.
            const layout::Control* control = ControlOf(reinterpret_cast<HWND>(lParam));
            if (HIWORD(wParam) == BN_CLICKED && control != nullptr) Run(*control);
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            const LRESULT brush = DefWindowProcW(window, message, wParam, lParam);
            const layout::Control* control = ControlOf(reinterpret_cast<HWND>(lParam));
            if (control != nullptr && control->blueText) {
                SetTextColor(reinterpret_cast<HDC>(wParam), LinkTextColor());
            }
            return brush;
        }
        case WM_SETCURSOR: {
            const layout::Control* over = ControlOf(reinterpret_cast<HWND>(wParam));
            if (over != nullptr && over->isLink()) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        }
        case WM_ACTIVATE:
            // Focus comes back to the control that had it when the window was left.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window, focus)) lastFocus_ = focus;
            }
            break;
        case WM_SETFOCUS:
            SetFocus(lastFocus_ != nullptr ? lastFocus_ : control(*layout::FocusOrder().front()));
            return 0;
        case WM_DPICHANGED: {
            ApplyDpi(HIWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top,
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
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quillbeam::win32
