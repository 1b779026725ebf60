#pragma once

#include "main_window.h"
#include "modal_dialogs.h"
#include "window_driver.h"

// The Qt window shown and active on the offscreen platform, met through the layout table: every
// action that may open a message box runs with one ModalDialogs that answers it and keeps what it
// showed, and the links' addresses are caught instead of opened.
class QtWindowDriver : public WindowDriver {
  public:
    QtWindowDriver();

    // The font, style and caret the reference pictures were taken with; once per test program.
    static void PinTheLook();

    Quillbeam& window() { return window_; }
    template <class Widget = QWidget>
    Widget& As(const quillbeam::layout::Control& control) {
        return window_.controls().As<Widget>(control);
    }

    std::string Platform() const override { return "qt"; }
    int Dpi() const override;
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
    quillbeam::BannerRequest Request() const override { return window_.request(); }
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
        window_.setApplicationFolder(std::move(folder));
    }

  private:
    // Runs `action` while message boxes are answered and kept.
    template <class Action>
    void Acting(Action action);
    void Answer(QDialog& dialog);
    const quillbeam::layout::Control* ControlOf(const QWidget* widget) const;
    double Scale() const { return window_.devicePixelRatioF(); }

    Quillbeam window_;
};
