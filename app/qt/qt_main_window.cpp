#include "qt_main_window.h"

#include <QFontMetricsF>

#include "fitting_font.h"
#include "generate_command.h"
#include "link_color.h"
#include "message_box.h"
#include "qt_modAPI.h"
#include "qt_platform.h"
#include "unshowable_characters.h"

namespace {

namespace layout = quillbeam::layout;
using layout::Role;

// Qt lays the window out in device-independent pixels, 96 to the inch on every screen.
constexpr int kLogicalDpi = 96;

quillbeam::window::Rgb ToRgb(const QColor& color) {
    const QColor rgb = color.toRgb();
    return {static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
            static_cast<std::uint8_t>(rgb.blue())};
}

}  // namespace

Quillbeam::Quillbeam(QWidget* parent) : QWidget(parent) {
    setObjectName(ToQString(layout::kWindowName));
    setWindowTitle(ToQString(layout::kWindowCaption));
    setFixedSize(layout::kClientSize.width, layout::kClientSize.height);

    for (const layout::Control& control : layout::kControls) Connect(control);

    const std::vector<const layout::Control*> focusOrder = layout::FocusOrder();
    for (std::size_t i = 1; i < focusOrder.size(); ++i) {
        setTabOrder(&controls_[*focusOrder[i - 1]], &controls_[*focusOrder[i]]);
    }
    controls_[*focusOrder.front()].setFocus();
    FitFontToCaptions();
    DescribeForAssistiveTools();
    ColorLinks();
}

// The desktop's colours may change while the window is open: a dark style switched on, say.
void Quillbeam::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) ColorLinks();
    QWidget::changeEvent(event);
}

// Connects what `control` runs: the two commands and the two links.
void Quillbeam::Connect(const layout::Control& control) {
    if (control.role == Role::Browse) {
        connect(&controls_.As<QPushButton>(control), &QPushButton::clicked, this,
                &Quillbeam::browse);
    } else if (control.role == Role::Generate) {
        connect(&controls_.As<QPushButton>(control), &QPushButton::clicked, this,
                &Quillbeam::generate);
    } else if (control.isLink()) {
        const QUrl address(ToQString(layout::LinkOf(control.role).address));
        connect(&controls_.As<ClickLabel>(control), &ClickLabel::clicked, this,
                [this, address] { openLink_(address); });
    }
}

// Narrows the window's font, which every control inherits, until each caption fits its box. The
// window's own font is measured as it is, so that a fractional size is kept where it fits.
void Quillbeam::FitFontToCaptions() {
    QFont font = this->font();
    const int pixels = QFontInfo(font).pixelSize();
    const int fitting = quillbeam::window::FittingFontSize(
        pixels, kLogicalDpi,
        [&font, pixels](int size, const std::vector<std::u16string_view>& texts) {
            QFont sized = font;
            if (size != pixels) sized.setPixelSize(size);
            const QFontMetricsF metrics(sized);
            std::vector<double> widths;
            widths.reserve(texts.size());
            for (const std::u16string_view text : texts) {
                widths.push_back(metrics.horizontalAdvance(ToQString(text)));
            }
            return widths;
        });
    if (fitting < pixels) font.setPixelSize(fitting);
    setFont(font);
}

// Screen readers announce each box by the caption above it, and the two links by what they open.
void Quillbeam::DescribeForAssistiveTools() {
    for (const layout::Control& control : layout::kControls) {
        if (control.isLink()) {
            const layout::Link link = layout::LinkOf(control.role);
            controls_[control].setAccessibleName(ToQString(link.name));
            controls_[control].setAccessibleDescription(ToQString(link.description));
        }
        if (!control.captionOf) continue;
        auto& caption = controls_.As<QLabel>(control);
        QWidget& box = controls_[*control.captionOf];
        QString name = caption.text();
        if (name.endsWith(u':')) name.chop(1);
        box.setAccessibleName(name);
        caption.setBuddy(&box);  // the labelled-by relation; the captions carry no mnemonic
    }
}

// The link's text colour, chosen against the window's own colours. Qt 6.4 does not tell whether
// a high-contrast mode is on; its palette carries the colours such a mode sets.
void Quillbeam::ColorLinks() {
    const QPalette& colors = palette();
    const quillbeam::window::Rgb color = quillbeam::window::LinkColor(
        {ToRgb(colors.color(QPalette::Window)), ToRgb(colors.color(QPalette::Link)),
         ToRgb(colors.color(QPalette::WindowText))});
    for (const layout::Control& control : layout::kControls) {
        if (!control.blueText) continue;
        QWidget& widget = controls_[control];
        QPalette linkPalette = widget.palette();
        linkPalette.setColor(QPalette::WindowText, QColor(color.red, color.green, color.blue));
        widget.setPalette(linkPalette);
    }
}

quillbeam::BannerRequest Quillbeam::request() const {
    return quillbeam::window::RequestFromBoxes(
        [this](Role role) { return controls_.Text(layout::Find(role)).toStdU16String(); });
}

void Quillbeam::browse() {
    // A cancelled dialog gives the empty text, which clears the box as well.
    controls_.SetText(layout::Find(Role::Folder),
                      quillbeam::modAPI::ChooseFolder(this, ToQString(layout::kBrowseTitle),
                                                      QString(), {.newStyle = true}));
}

// Characters the banner cannot show are named first, and the user may stop there: nothing is
// written, and the first box holding them has the focus. A failure is reported and the window
// stays as it was, so that the user can correct the folder and try again without retyping the
// messages.
void Quillbeam::generate() {
    const quillbeam::BannerRequest request = this->request();
    if (const auto question = quillbeam::window::QuestionBeforeWriting(request)) {
        if (!AskToGoOn(this, question->text)) {
            controls_[question->firstBox].setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    QtPackagePlatform platform(this);
    if (const auto failure =
            quillbeam::window::RunGenerate(request, applicationFolder_, platform)) {
        ShowFailureReport(this, *failure);
    }
}
