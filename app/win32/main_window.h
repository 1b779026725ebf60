#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "banner_request.h"
#include "gdi_object.h"
#include "window_layout.h"

namespace quillbeam::win32 {

// Opens a web address; the window asks and forgets.
using LinkOpener = std::function<void(std::string_view address)>;

// Opens the address with the shell's "open" verb, shown normally.
void OpenWithShell(std::string_view address);

// The program's one window, built from the shared layout table: the output folder, four messages
// and the address of a banner, Browse and Generate!, and the two links. It is created hidden.
// The object must stay where it is while the window lives, so it can be neither copied nor moved.
class MainWindow {
  public:
    explicit MainWindow(HINSTANCE instance);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow();

    HWND handle() const noexcept { return window_; }
    HWND control(std::string_view name) const;
    int dpi() const noexcept { return dpi_; }

    // Called once the window is gone: the program ends there.
    void setOnDestroyed(std::function<void()> onDestroyed) {
        onDestroyed_ = std::move(onDestroyed);
    }
    // Where the links go; the shell unless replaced.
    void setLinkOpener(LinkOpener opener) { openLink_ = std::move(opener); }
    // The folder holding Template; the running executable's folder unless replaced.
    void setApplicationFolder(std::u16string folder) { applicationFolder_ = std::move(folder); }

    // The banner request as the boxes hold it now.
    BannerRequest request() const;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void ApplyDpi(int dpi);
    void FitFont();
    void ScaleArtwork();
    void Run(layout::Command command);
    void Browse();
    void Generate();
    std::u16string TextOf(std::string_view name) const;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    std::array<HWND, layout::kControls.size()> controls_{};
    HWND lastFocus_ = nullptr;
    int dpi_ = 96;
    Font font_;
    Bitmap artwork_;       // at 96 dots per inch, as built into the program
    Bitmap shownArtwork_;  // scaled to the window's DPI
    std::function<void()> onDestroyed_;
    LinkOpener openLink_ = OpenWithShell;
    std::optional<std::u16string> applicationFolder_;
};

}  // namespace quillbeam::win32
