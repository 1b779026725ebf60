#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <optional>
#include <string>

#include "banner_request.h"
#include "click_label.h"
#include "folder_edit.h"
#include "link_opener.h"
#include "message_edit.h"
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

  protected:
    void changeEvent(QEvent* event) override;

  private:
    QWidget& Widget(const quillbeam::layout::Control& control);
    const QWidget& Widget(const quillbeam::layout::Control& control) const;
    void Build(const quillbeam::layout::Control& control);
    void FitFontToCaptions();
    void DescribeForAssistiveTools();
    void ColorLinks();
    std::u16string BoxText(quillbeam::layout::Role role) const;
    void browse();
    void generate();

    // Declared in the table's order, which is the drawing order: text boxes and buttons come
    // last, so they lie above the labels and the picture where they overlap.
    ClickLabel image1_{this};
    QLabel label1_{this};
    QLabel label2_{this};
    QLabel label3_{this};
    QLabel label4_{this};
    QLabel label5_{this};
    QLabel label6_{this};
    ClickLabel label7_{this};
    FolderEdit text1_{this};
    QPushButton command1_{this};
    MessageEdit text2_{this};
    MessageEdit text3_{this};
    MessageEdit text4_{this};
    MessageEdit text5_{this};
    QPushButton command2_{this};
    QLineEdit text6_{this};

    LinkOpener openLink_ = DesktopLinkOpener();
    std::optional<std::u16string> applicationFolder_;
};
