#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <array>
#include <optional>

#include "com_apartment.h"
#include "main_window.h"
#include "window_driver.h"

// The Win32 window shown in this process under Wine, met through the layout table: keys are
// posted as the keyboard posts them and delivered as the program's loop delivers them; message
// boxes and the links' pages are caught in the window's system calls. The desktop's colours are
// put back when it goes.
class Win32WindowDriver : public WindowDriver {
  public:
    Win32WindowDriver();
    Win32WindowDriver(const Win32WindowDriver&) = delete;
    Win32WindowDriver& operator=(const Win32WindowDriver&) = delete;
    ~Win32WindowDriver() override;

    quillbeam::win32::MainWindow& window() { return *window_; }
    HWND Handle(const quillbeam::layout::Control& control) const {
        return window_->control(control);
    }
    // Delivers everything queued, as the program's loop would, until the queue is empty.
    void Pump();
    // The mouse messages a click on `control` brings it, or those of a double click.
    void Click(HWND control, bool twice);

    std::string Platform() const override { return "win32"; }
    int Dpi() const override { return window_->dpi(); }
    std::u16string Caption() const override;
    quillbeam::layout::Size ClientSize() const override;
    quillbeam::layout::Rect Place(const quillbeam::layout::Control& control) const override;
    std::u16string Text(const quillbeam::layout::Control& control) const override;
    quillbeam::layout::Size TextExtent(const quillbeam::layout::Control& control) const override;
    int LineCount(const quillbeam::layout::Control& control) const override;
    const quillbeam::layout::Control* Focused() const override;
    const quillbeam::layout::Control* ControlAt(int x, int y) const override;
    bool ShowsAHandOver(const quillbeam::layout::Control& control) const override;
    Accessible AccessibleOf(const quillbeam::layout::Control& control) const override;
    quillbeam::BannerRequest Request() const override { return window_->request(); }
    Picture Screenshot() override;
    Picture ReferencePicture(const std::string& name) const override;

    void Focus(const quillbeam::layout::Control& control) override;
    void SetText(const quillbeam::layout::Control& control, std::u16string_view text) override;
    void Type(std::u16string_view text) override;
    void Press(Key key) override;
    void Click(const quillbeam::layout::Control& control) override;
    void PressForScreenReader(const quillbeam::layout::Control& control) override;
    void Drop(const quillbeam::layout::Control& control,
              const std::vector<std::u16string>& paths) override;
    bool SetColors(const quillbeam::window::DesktopColors& colors) override;
    void SetApplicationFolder(std::u16string folder) override {
        window_->setApplicationFolder(std::move(folder));
    }

  private:
    const quillbeam::layout::Control* ControlOf(HWND handle) const;

    // As the program does: screen readers reach the links' objects through COM.
    const quillbeam::win32::ComApartment apartment_;
    bool highContrast_ = false;  // the system's cannot be switched on under Wine
    std::optional<std::array<COLORREF, 3>> savedColors_;
    std::optional<quillbeam::win32::MainWindow> window_;
};
