#include "main_window.h"

#include <QFontMetrics>
#include <algorithm>

#include "application_folder.h"
#include "artwork.h"
#include "failure_report.h"
#include "file_failure.h"
#include "modAPI.h"
#include "package_writer.h"
#include "publisher_links.h"
#include "qt_platform.h"

namespace {

constexpr QSize kClientSize(378, 550);
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

void Place(QWidget& widget, const char* name, QRect geometry) {
    widget.setObjectName(QString::fromLatin1(name));
    widget.setGeometry(geometry);
}

}  // namespace

Quillbeam::Quillbeam(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Quillbeam"));
    setWindowTitle(QStringLiteral("Quillbeam 1.0"));
    setFixedSize(kClientSize);

    // The artwork is 4 pixels wider than the window; it is cut off, never scaled.
    Place(image1_, "Image1", {0, 0, 382, 82});
    image1_.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image1_.setPixmap(BannerArtwork());

    Place(label1_, "Label1", {16, 96, 233, 17});
    label1_.setText(QStringLiteral("Select a Project Folder:"));
    Place(text1_, "Text1", {16, 120, 249, 25});
    Place(command1_, "Command1", {280, 120, 73, 25});
    command1_.setText(QStringLiteral("Browse"));

    Place(label2_, "Label2", {16, 160, 297, 17});
    label2_.setText(QStringLiteral("Message 1"));
    Place(text2_, "Text2", {16, 184, 337, 25});
    text2_.setCrlfText(QStringLiteral("Text2\r\n"));
    Place(label3_, "Label3", {16, 224, 201, 17});
    label3_.setText(QStringLiteral("Message 2"));
    Place(text3_, "Text3", {16, 256, 337, 25});
    text3_.setCrlfText(QStringLiteral("Text3"));
    Place(label4_, "Label4", {16, 296, 273, 17});
    label4_.setText(QStringLiteral("Message 3"));
    Place(text4_, "Text4", {16, 328, 337, 25});
    text4_.setCrlfText(QStringLiteral("Text4"));
    Place(label5_, "Label5", {16, 360, 297, 25});
    label5_.setText(QStringLiteral("Message 4"));
    Place(text5_, "Text5", {16, 384, 337, 25});
    text5_.setCrlfText(QStringLiteral("Text5"));

    Place(label6_, "Label6", {16, 424, 201, 17});
    label6_.setText(QStringLiteral("Enter URL where banner will link to:"));
    Place(text6_, "Text6", {16, 448, 337, 25});
    text6_.setText(QStringLiteral("Text6"));
    Place(command2_, "Command2", {160, 496, 185, 33});
    command2_.setText(QStringLiteral("Generate!"));

    Place(label7_, "Label7", {32, 504, 105, 17});
    label7_.setText(QStringLiteral("Check for Updates"));
    QPalette linkPalette = label7_.palette();
    linkPalette.setColor(QPalette::WindowText, kLinkColor);
    label7_.setPalette(linkPalette);

    // The address box comes after Generate!, and the cycle closes back at the folder box.
    setTabOrder(&text1_, &command1_);
    setTabOrder(&command1_, &text2_);
    setTabOrder(&text2_, &text3_);
    setTabOrder(&text3_, &text4_);
    setTabOrder(&text4_, &text5_);
    setTabOrder(&text5_, &command2_);
    setTabOrder(&command2_, &text6_);
    text1_.setFocus();
    FitFontToLabels(*this);
    DescribeForAssistiveTools();

    connect(&command1_, &QPushButton::clicked, this, &Quillbeam::browse);
    connect(&command2_, &QPushButton::clicked, this, &Quillbeam::generate);
    connect(&image1_, &ClickLabel::clicked, this, [this] { openLink_(ResourcesPageUrl()); });
    connect(&label7_, &ClickLabel::clicked, this, [this] { openLink_(UpdatePageUrl()); });
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
    text1_.setText(quillbeam::modAPI::ChooseFolder(this, QStringLiteral("Select a directory"),
                                                   QString(), {.newStyle = true}));
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
