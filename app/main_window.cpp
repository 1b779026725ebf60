#include "main_window.h"

#include <QFontMetrics>
#include <algorithm>

#include "application_folder.h"
#include "artwork.h"
#include "failure_report.h"
#include "file_failure.h"
#include "message_box.h"
#include "modAPI.h"
#include "package_writer.h"
#include "publisher_links.h"
#include "qt_platform.h"

namespace {

namespace layout = quillbeam::layout;

const QColor kLinkColor(0, 0, 255);

constexpr int kSmallestFontPixels = 8;

bool LabelsFit(const QWidget& window, const QFont& font) {
    const QFontMetrics metrics(font);
    const auto labels = window.findChildren<QLabel*>();
    return std::all_of(labels.begin(), labels.end(), [&metrics](const QLabel* label) {
        return metrics.horizontalAdvance(label->text()) <= label->contentsRect().width();
    });
}

// The layout is fixed in pixels, while desktop fonts vary. Narrows the window's font, which every
// control inherits, until each label's text fits its box, so that none is cut off.
// Every size tried costs a font engine of its own, so the size is worked out from one
// measurement: text width grows in proportion to the pixel size. Hinting and rounding can leave
// the estimate a pixel too large, which the check afterwards corrects.
void FitFontToLabels(QWidget& window) {
    QFont font = window.font();
    const int pixels = QFontInfo(font).pixelSize();
    const QFontMetricsF metrics(font);
    qreal scale = 1;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        const qreal needed = metrics.horizontalAdvance(label->text());
        if (needed > 0) scale = std::min(scale, label->contentsRect().width() / needed);
    }
    int fitting = std::max(kSmallestFontPixels, static_cast<int>(pixels * scale));
    if (fitting < pixels) font.setPixelSize(fitting);
    while (fitting > kSmallestFontPixels && !LabelsFit(window, font)) font.setPixelSize(--fitting);
    window.setFont(font);
}

QString ToQString(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QRect ToQRect(const layout::Rect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

}  // namespace

Quillbeam::Quillbeam(QWidget* parent) : QWidget(parent) {
    setObjectName(ToQString(layout::kWindowName));
    setWindowTitle(ToQString(layout::kWindowCaption));
    setFixedSize(layout::kClientSize.width, layout::kClientSize.height);

    for (const layout::Control& control : layout::kControls) Build(control);
    // The artwork is 4 pixels wider than the window; it is cut off, never scaled.
    image1_.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image1_.setPixmap(BannerArtwork());

    const std::vector<const layout::Control*> focusOrder = layout::FocusOrder();
    for (std::size_t i = 1; i < focusOrder.size(); ++i) {
        setTabOrder(&Widget(focusOrder[i - 1]->name), &Widget(focusOrder[i]->name));
    }
    Widget(focusOrder.front()->name).setFocus();
    FitFontToLabels(*this);
    DescribeForAssistiveTools();

    connect(&command1_, &QPushButton::clicked, this, &Quillbeam::browse);
    connect(&command2_, &QPushButton::clicked, this, &Quillbeam::generate);
    connect(&image1_, &ClickLabel::clicked, this, [this] { openLink_(ResourcesPageUrl()); });
    connect(&label7_, &ClickLabel::clicked, this, [this] { openLink_(UpdatePageUrl()); });
}

// The widget that stands for the table's control `name`; members and table share one order.
QWidget& Quillbeam::Widget(std::string_view name) {
    QWidget* const widgets[] = {&image1_, &label1_, &label2_,   &label3_,   &label4_, &label5_,
                                &label6_, &label7_, &text1_,    &command1_, &text2_,  &text3_,
                                &text4_,  &text5_,  &command2_, &text6_};
    static_assert(std::size(widgets) == layout::kControls.size());
    const auto index = static_cast<std::size_t>(&layout::Find(name) - layout::kControls.data());
    return *widgets[index];
}

// Names, places and fills one control as the table describes it.
void Quillbeam::Build(const layout::Control& control) {
    QWidget& widget = Widget(control.name);
    widget.setObjectName(ToQString(control.name));
    widget.setGeometry(ToQRect(control.rect));
    const QString text = ToQString(control.firstText);
    switch (control.kind) {
        case layout::Kind::Picture:
            break;
        case layout::Kind::Label:
            static_cast<QLabel&>(widget).setText(text);
            break;
        case layout::Kind::LineBox:
            static_cast<QLineEdit&>(widget).setText(text);
            break;
        case layout::Kind::MessageBox:
            static_cast<MessageEdit&>(widget).setCrlfText(text);
            break;
        case layout::Kind::Button:
            static_cast<QPushButton&>(widget).setText(text);
            break;
    }
    if (control.blueText) {
        QPalette linkPalette = widget.palette();
        linkPalette.setColor(QPalette::WindowText, kLinkColor);
        widget.setPalette(linkPalette);
    }
}

// Screen readers announce each box by the label above it, and the two links by what they open.
void Quillbeam::DescribeForAssistiveTools() {
    const std::pair<QWidget*, QLabel*> boxes[] = {
        {&text1_, &label1_}, {&text2_, &label2_}, {&text3_, &label3_},
        {&text4_, &label4_}, {&text5_, &label5_}, {&text6_, &label6_},
    };
    for (const auto& [box, label] : boxes) {
        QString name = label->text();
        if (name.endsWith(u':')) name.chop(1);
        box->setAccessibleName(name);
        label->setBuddy(box);  // the labelled-by relation; the captions carry no mnemonic
    }
    image1_.setAccessibleName(QStringLiteral("Quillbeam extras: more banners, fonts and tips"));
    image1_.setAccessibleDescription(
        QStringLiteral("Opens the page of further resources in your web browser"));
    label7_.setAccessibleName(QStringLiteral("Check for Updates"));
    label7_.setAccessibleDescription(
        QStringLiteral("Opens the page with the newest version in your web browser"));
}

quillbeam::BannerRequest Quillbeam::request() const {
    quillbeam::BannerRequest request;
    request.folder = text1_.text().toStdU16String();
    request.messages = {text2_.crlfText().toStdU16String(), text3_.crlfText().toStdU16String(),
                        text4_.crlfText().toStdU16String(), text5_.crlfText().toStdU16String()};
    request.url = text6_.text().toStdU16String();
    return request;
}

void Quillbeam::browse() {
    // A cancelled dialog gives the empty text, which clears the box as well.
    text1_.setText(quillbeam::modAPI::ChooseFolder(this, ToQString(layout::kBrowseTitle), QString(),
                                                   {.newStyle = true}));
}

// A failure is reported and the window stays as it was, so that the user can correct the folder
// and try again without retyping the messages.
void Quillbeam::generate() {
    try {
        QtPackagePlatform platform(this);
        const std::u16string folder =
            applicationFolder_ ? *applicationFolder_ : quillbeam::ExecutableFolder();
        quillbeam::GeneratePackage(request(), folder, platform);
    } catch (const quillbeam::FileFailure& failure) {
        ShowFailureReport(this, failure);
    }
}
