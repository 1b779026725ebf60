#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "banner_request.h"
#include "control_widgets.h"
#include "link_opener.h"
#include "window_layout.h"

// The program's one window: the output folder, four messages and the address of a banner, the
// Browse and Generate! commands, and links to the publisher's resources and update pages.
class Quillbeam : public QWidget {
    Q_OBJECT

  public:
    explicit Quillbeam(QWidget* parent = nullptr);

    // Where the two links are sent; the desktop's default handler unless replaced.
    void setLinkOpener(LinkOpener opener) { openLink_ = std::move(opener); }
    // The folder holding Template; the running executable's folder unless replaced.
    void setApplicationFolder(std::u16string folder) { applicationFolder_ = std::move(folder); }

    // The banner request as the boxes hold it now.
    quillbeam::BannerRequest request() const;

    // The window's controls, found by the layout table's rows and roles.
    ControlWidgets& controls() { return controls_; }
    const ControlWidgets& controls() const { return controls_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void Connect(const quillbeam::layout::Control& control);
    void FitFontToCaptions();
    void DescribeForAssistiveTools();
    void ColorLinks();
    void browse();
    void generate();

    LinkOpener openLink_ = DesktopLinkOpener();
    std::optional<std::u16string> applicationFolder_;
    // Last, so that the controls go first: nothing they do while going finds the rest gone.
    ControlWidgets controls_{*this};
};
