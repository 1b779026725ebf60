#include "qt_window_driver.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QStyleFactory>
#include <QTextBlock>
#include <QtTest>

namespace {

namespace layout = quillbeam::layout;
using layout::Control;

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

Picture ToPicture(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Picture picture{rgb.width(), rgb.height(), {}};
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) picture.pixels.push_back(line[x] & 0xFFFFFF);
    }
    return picture;
}

}  // namespace

void QtWindowDriver::PinTheLook() {
    // The font from its file, drawn the same whatever the machine's font configuration says.
    const int id = QFontDatabase::addApplicationFont(QUILLBEAM_PINNED_FONT);
    if (id < 0) qFatal("cannot load the pinned font %s", QUILLBEAM_PINNED_FONT);
    QFont font(QFontDatabase::applicationFontFamilies(id).at(0));
    font.setPixelSize(12);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    QApplication::setFont(font);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setCursorFlashTime(0);  // a caret that never blinks
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

QtWindowDriver::QtWindowDriver() {
    window_.setLinkOpener(
        [this](const QUrl& address) { opened.push_back(address.toString().toStdString()); });
    window_.show();
    window_.activateWindow();
    if (!QTest::qWaitForWindowActive(&window_, kWaitGuardMs))
        qFatal("the window never became active");
}

int QtWindowDriver::Dpi() const {
    return qRound(96 * Scale());
}

std::u16string QtWindowDriver::Caption() const {
    return window_.windowTitle().toStdU16String();
}

layout::Size QtWindowDriver::ClientSize() const {
    return {qRound(window_.width() * Scale()), qRound(window_.height() * Scale())};
}

layout::Rect QtWindowDriver::Place(const Control& control) const {
    const QRect place = window_.controls().As<QWidget>(control).geometry();
    return {qRound(place.left() * Scale()), qRound(place.top() * Scale()),
            qRound(place.width() * Scale()), qRound(place.height() * Scale())};
}

std::u16string QtWindowDriver::Text(const Control& control) const {
    return window_.controls().Text(control).toStdU16String();
}

layout::Size QtWindowDriver::TextExtent(const Control& control) const {
    const QWidget& widget = window_.controls().As<QWidget>(control);
    const QFontMetricsF metrics(widget.font());
    return {qCeil(metrics.horizontalAdvance(window_.controls().Text(control)) * Scale()),
            qCeil(metrics.height() * Scale())};
}

int QtWindowDriver::LineCount(const Control& control) const {
    const auto* edit =
        qobject_cast<const QPlainTextEdit*>(&window_.controls().As<QWidget>(control));
    if (edit == nullptr) return 1;
    // The layout of a block is made when it is first drawn; it is made here without waiting.
    auto* blocks = qobject_cast<QPlainTextDocumentLayout*>(edit->document()->documentLayout());
    int lines = 0;
    for (QTextBlock block = edit->document()->firstBlock(); block.isValid(); block = block.next()) {
        blocks->ensureBlockLayout(block);
        lines += block.layout()->lineCount();
    }
    return lines;
}

const Control* QtWindowDriver::ControlOf(const QWidget* widget) const {
    for (const Control& control : layout::kControls) {
        const QWidget& candidate = window_.controls().As<QWidget>(control);
        if (widget != nullptr && (widget == &candidate || candidate.isAncestorOf(widget))) {
            return &control;
        }
    }
    return nullptr;
}

// The window's focus, which it keeps while a message box has the keyboard.
const Control* QtWindowDriver::Focused() const {
    return ControlOf(window_.focusWidget());
}

const Control* QtWindowDriver::ControlAt(int x, int y) const {
    // The logical pixel under the device pixel's centre.
    return ControlOf(window_.childAt(qFloor((x + 0.5) / Scale()), qFloor((y + 0.5) / Scale())));
}

bool QtWindowDriver::ShowsAHandOver(const Control& control) const {
    return window_.controls().As<QWidget>(control).cursor().shape() == Qt::PointingHandCursor;
}

WindowDriver::Accessible QtWindowDriver::AccessibleOf(const Control& control) const {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(
        const_cast<QWidget*>(&window_.controls().As<QWidget>(control)));
    return {accessible->text(QAccessible::Name).toStdU16String(),
            accessible->text(QAccessible::Description).toStdU16String(),
            accessible->role() == QAccessible::Link && accessible->state().linked};
}

Picture QtWindowDriver::Screenshot() {
    return ToPicture(window_.grab().toImage());
}

Picture QtWindowDriver::ReferencePicture(const std::string& name) const {
    return ToPicture(QImage(QString(QUILLBEAM_REFERENCE_PICTURES "/%1.png").arg(name.c_str())));
}

void QtWindowDriver::Focus(const Control& control) {
    window_.controls()[control].setFocus();
}

void QtWindowDriver::SetText(const Control& control, std::u16string_view text) {
    window_.controls().SetText(control, ToQString(text));
}

template <class Action>
void QtWindowDriver::Acting(Action action) {
    // More than any case shows at once; one beyond them is rejected.
    const ModalDialogs dialogs(
        std::vector<ModalDialogs::Answer>(16, [this](QDialog& dialog) { Answer(dialog); }));
    action();
}

// Keeps what a message box shows, as the program gave it, and answers it.
void QtWindowDriver::Answer(QDialog& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    if (box == nullptr) return dialog.reject();
    Message& message = messages.emplace_back();
    message.caption = box->windowTitle().toStdU16String();
    message.text = box->text().replace(u'\n', QStringLiteral("\r\n")).toStdU16String();
    message.icon = box->icon() == QMessageBox::NoIcon     ? Message::Icon::None
                   : box->icon() == QMessageBox::Warning  ? Message::Icon::Warning
                   : box->icon() == QMessageBox::Critical ? Message::Icon::Error
                                                          : Message::Icon::Other;
    const auto buttons = box->standardButtons();
    message.buttons = buttons == QMessageBox::Ok ? Message::Buttons::Ok
                      : buttons == (QMessageBox::Yes | QMessageBox::No) &&
                              box->defaultButton() == box->button(QMessageBox::No)
                          ? Message::Buttons::YesOrNoByDefault
                          : Message::Buttons::Other;
    message.modalToTheWindow =
        box->parentWidget() == &window_ && box->windowModality() != Qt::NonModal;
    const WindowDriver::Answer answer =
        messages.size() <= answers.size() ? answers[messages.size() - 1] : WindowDriver::Answer::Ok;
    const QMessageBox::StandardButton button =
        answer == WindowDriver::Answer::Yes  ? QMessageBox::Yes
        : answer == WindowDriver::Answer::No ? QMessageBox::No
                                             : QMessageBox::Ok;
    if (box->button(button) != nullptr) box->button(button)->click();
}

void QtWindowDriver::Type(std::u16string_view text) {
    Acting([this, text] {
        for (const char16_t character : text) {
            QTest::sendKeyEvent(QTest::Click, window_.focusWidget(), Qt::Key_unknown,
                                QString(QChar(character)), Qt::NoModifier);
        }
    });
}

void QtWindowDriver::Press(Key key) {
    const Qt::Key qtKey = key == Key::Tab        ? Qt::Key_Tab
                          : key == Key::ShiftTab ? Qt::Key_Backtab
                          : key == Key::Enter    ? Qt::Key_Return
                                                 : Qt::Key_Escape;
    Acting([this, qtKey] { QTest::keyClick(window_.focusWidget(), qtKey); });
}

void QtWindowDriver::Click(const Control& control) {
    Acting([this, &control] { QTest::mouseClick(&window_.controls()[control], Qt::LeftButton); });
}

void QtWindowDriver::PressForScreenReader(const Control& control) {
    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(&window_.controls()[control]);
    Acting([accessible] {
        accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    });
}

// Dragged in as the file manager offers it, as a copy or a move, and dropped where a drag arrives.
void QtWindowDriver::Drop(const Control& control, const std::vector<std::u16string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::u16string& path : paths) urls << QUrl::fromLocalFile(ToQString(path));
    data.setUrls(urls);
    QWidget* target = &window_.controls()[control];
    if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) target = area->viewport();
    const QPoint middle = target->rect().center();
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    Acting([&] {
        QDragEnterEvent enter(middle, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return;
        QDropEvent drop(middle, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    });
}

// Qt 6.4 tells no high-contrast mode apart: its palette carries what such a mode sets.
bool QtWindowDriver::SetColors(const quillbeam::window::DesktopColors& colors) {
    if (colors.highContrast) return false;
    const auto qt = [](quillbeam::window::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); };
    QPalette palette = window_.palette();
    palette.setColor(QPalette::Window, qt(colors.window));
    palette.setColor(QPalette::Link, qt(colors.link));
    palette.setColor(QPalette::WindowText, qt(colors.text));
    window_.setPalette(palette);
    return true;
}
