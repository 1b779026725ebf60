#pragma once

// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "banner_request.h"
#include "gdi_object.h"
#include "message_boxes.h"
#include "shell_functions.h"
#include "unique_window.h"
#include "window_layout.h"

namespace quillbeam::win32 {

// Asks the shell to open a file or address as ShellExecuteW does.
using ShellExecuteFunction =
    std::function<HINSTANCE(HWND owner, const wchar_t* verb, const wchar_t* file,
                            const wchar_t* parameters, const wchar_t* folder, int show)>;

// Whether the system's high-contrast mode is on.
bool HighContrastIsOn();

// The calls through which the window speaks to the user, opens its links and learns whether high
// contrast is on. A test puts its own in their place to see what they are handed, or to answer.
struct SystemCalls {
    MessageBoxFunction messageBox = MessageBoxW;
    ShellExecuteFunction shellExecute = modAPI::ShellExecuteOnFirstUse;
    std::function<bool()> highContrast = HighContrastIsOn;
};

// The program's one window, built from the shared layout table: the output folder, four messages
// and the address of a banner, Browse and Generate!, and the two links. It is created hidden.
// The object must stay where it is while the window lives, so it can be neither copied nor moved.
class MainWindow {
  public:
    explicit MainWindow(HINSTANCE instance, SystemCalls calls = {});
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND handle() const noexcept { return window_.get(); }
    HWND control(const layout::Control& control) const {
        return controls_[layout::IndexOf(control)];
    }
    HWND control(layout::Role role) const { return control(layout::Find(role)); }
    int dpi() const noexcept { return dpi_; }

    // Called once the window is gone: the program ends there.
    void setOnDestroyed(std::function<void()> onDestroyed) {
        onDestroyed_ = std::move(onDestroyed);
    }
    // The folder holding Template; the running executable's folder unless replaced.
    void setApplicationFolder(std::u16string folder) { applicationFolder_ = std::move(folder); }

    // The banner request as the boxes hold it now.
    BannerRequest request() const;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    const layout::Control* ControlOf(HWND handle) const;
    void CreateControls();
    void ApplyDpi(int dpi);
    void UncoverInputs() const;
    COLORREF LinkTextColor() const;
    [[nodiscard]] Font FitFont();
    void ScaleArtwork();
    void Run(const layout::Control& control);
    void Browse();
    void Generate();
    void ReportFailure(const std::exception& failure);

    HINSTANCE instance_;
    SystemCalls calls_;
    std::array<HWND, layout::kControls.size()> controls_{};
    HWND lastFocus_ = nullptr;
    int dpi_ = 96;
    Font font_;
    Bitmap artwork_;       // at 96 dots per inch, as built into the program
    Bitmap shownArtwork_;  // scaled to the window's DPI
    std::function<void()> onDestroyed_;
    std::optional<std::u16string> applicationFolder_;
    // Last, so that it is destroyed first: the window's last messages still find every other
    // member in place.
    UniqueWindow window_;
};

}  // namespace quillbeam::win32
