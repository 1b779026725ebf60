// The Qt window: every case both windows share (window_cases.cpp) through its driver below, then
// what only Qt's window has: Qt's folder dialog, a link pressed and released elsewhere, what a
// drag may carry, Shift+Enter and the icon.
#include <QAccessible>
#include <QFontDatabase>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QStyleFactory>
#include <QTextBlock>
#include <QtTest>

#include "accessible_interfaces.h"
#include "artwork.h"
#include "message_box.h"
#include "modal_dialogs.h"
#include "qt_main_window.h"
#include "temp_folder.h"
#include "window_driver.h"

namespace {

namespace layout = quillbeam::layout;
using layout::Control;
using layout::Find;
using layout::Role;

Picture ToPicture(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Picture picture{rgb.width(), rgb.height(), {}};
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) picture.pixels.push_back(line[x] & 0xFFFFFF);
    }
    return picture;
}

// Drags `data` over the middle of `target` and drops it there, as Qt delivers a drag: it enters,
// moves and drops. Shift is held, so that a move is proposed wherever one is possible. The action
// the steps were taken as (any step's that differs from the first's), or IgnoreAction where one was
// refused.
Qt::DropAction Drop(QWidget& target, const QMimeData& data, Qt::DropActions actions) {
    const QPoint middle = target.rect().center();
    QDragEnterEvent enter(middle, actions, &data, Qt::LeftButton, Qt::ShiftModifier);
    QDragMoveEvent move(middle, actions, &data, Qt::LeftButton, Qt::ShiftModifier);
    QDropEvent drop(middle, actions, &data, Qt::LeftButton, Qt::ShiftModifier);
    if (actions.testFlag(Qt::MoveAction) && enter.proposedAction() != Qt::MoveAction) {
        qFatal("Shift proposes no move");
    }
    Qt::DropAction taken = Qt::IgnoreAction;
    for (QDropEvent* step : std::initializer_list<QDropEvent*>{&enter, &move, &drop}) {
        QApplication::sendEvent(&target, step);
        if (!step->isAccepted()) return Qt::IgnoreAction;
        if (step == &enter || step->dropAction() != enter.dropAction()) taken = step->dropAction();
    }
    return taken;
}

// The Qt window shown and active on the offscreen platform. Every action runs while one
// ModalDialogs answers and keeps the message boxes it brings; the links' addresses are caught.
class QtWindow : public WindowDriver {
  public:
    QtWindow() {
        window_.setLinkOpener(
            [this](const QUrl& page) { opened.push_back(page.toString().toStdString()); });
        window_.show();
        window_.activateWindow();
        if (!QTest::qWaitForWindowActive(&window_, kWaitGuardMs))
            qFatal("the window is not active");
    }

    // Qt's queries (the accessible interface, say) take widgets that are not const.
    template <class Widget = QWidget>
    Widget& As(const Control& control) const {
        return const_cast<Widget&>(window_.controls().As<Widget>(control));
    }

    std::string Platform() const override { return "qt"; }
    int Dpi() const override { return qRound(96 * Scale()); }
    layout::Rect Place(const Control& control) const override {
        const QRect place = As(control).geometry();
        return {Scaled(place.left()), Scaled(place.top()), Scaled(place.width()),
                Scaled(place.height())};
    }
    std::u16string Text(const Control& control) const override {
        return window_.controls().Text(control).toStdU16String();
    }
    layout::Size TextExtent(const Control& control) const override {
        const QFontMetricsF metrics(As(control).font());
        const QString text = window_.controls().Text(control);
        return {qCeil(metrics.horizontalAdvance(text) * Scale()),
                qCeil(metrics.height() * Scale())};
    }
    // A block's lines are laid out when it is first drawn; here at once.
    int LineCount(const Control& control) const override {
        const auto* edit = qobject_cast<QPlainTextEdit*>(&As(control));
        if (edit == nullptr) return 1;
        auto* layout = qobject_cast<QPlainTextDocumentLayout*>(edit->document()->documentLayout());
        int lines = 0;
        for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next()) {
            layout->ensureBlockLayout(block);
            lines += block.layout()->lineCount();
        }
        return lines;
    }
    // The window's focus, which it keeps while a message box has the keyboard.
    const Control* Focused() const override { return ControlOf(window_.focusWidget()); }
    // The logical pixel under the centre of the device pixel.
    const Control* ControlAt(int x, int y) const override {
        return ControlOf(window_.childAt(qFloor((x + 0.5) / Scale()), qFloor((y + 0.5) / Scale())));
    }
    bool ShowsAHandOver(const Control& control) const override {
        return As(control).cursor().shape() == Qt::PointingHandCursor;
    }
    Accessible AccessibleOf(const Control& control) const override {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&As(control));
        return {accessible->text(QAccessible::Name).toStdU16String(),
                accessible->text(QAccessible::Description).toStdU16String(),
                accessible->role() == QAccessible::Link && accessible->state().linked};
    }
    quillbeam::BannerRequest Request() const override { return window_.request(); }
    Picture Screenshot() override { return ToPicture(window_.grab().toImage()); }
    Picture ReferencePicture(const std::string& name) const override {
        return ToPicture(
            QImage(QUILLBEAM_REFERENCE_PICTURES "/" + QString::fromStdString(name) + ".png"));
    }

    void Focus(const Control& control) override { As(control).setFocus(); }
    void SetText(const Control& control, std::u16string_view text) override {
        window_.controls().SetText(control, ToQString(text));
    }
    void Type(std::u16string_view text) override {
        Acting([this, text] {
            for (const char16_t unit : text) {
                QTest::sendKeyEvent(QTest::Click, window_.focusWidget(), Qt::Key_unknown,
                                    QString(QChar(unit)), Qt::NoModifier);
            }
        });
    }
    void Press(Key key) override {
        const Qt::Key qt = key == Key::Tab        ? Qt::Key_Tab
                           : key == Key::ShiftTab ? Qt::Key_Backtab
                           : key == Key::Enter    ? Qt::Key_Return
                                                  : Qt::Key_Escape;
        Acting([this, qt] { QTest::keyClick(window_.focusWidget(), qt); });
    }
    void Click(const Control& control) override {
        Acting([&] { QTest::mouseClick(&As(control), Qt::LeftButton); });
    }
    // Another window is shown and takes the activation, then this one takes it back.
    void SwitchAwayAndBack() override {
        QWidget other;
        for (QWidget* active : {&other, static_cast<QWidget*>(&window_)}) {
            active->show();
            active->activateWindow();
            if (!QTest::qWaitForWindowActive(active, kWaitGuardMs)) qFatal("no window switch");
        }
    }
    void PressForScreenReader(const Control& control) override {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&As(control));
        Acting([accessible] {
            accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        });
    }
    // As the file manager offers it: a copy or a move, dropped where a drag arrives.
    void Drop(const Control& control, const std::vector<std::u16string>& paths) override {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::u16string& path : paths) {
            urls << (path.starts_with(u"http://") ? QUrl(ToQString(path))
                                                  : QUrl::fromLocalFile(ToQString(path)));
        }
        data.setUrls(urls);
        Acting([&] { ::Drop(As(control), data, Qt::CopyAction | Qt::MoveAction); });
    }
    // Qt 6.4 tells no high-contrast mode apart: its palette carries what such a mode sets.
    bool SetColors(const quillbeam::window::DesktopColors& colors) override {
        const auto qt = [](quillbeam::window::Rgb rgb) {
            return QColor(rgb.red, rgb.green, rgb.blue);
        };
        QPalette palette = window_.palette();
        palette.setColor(QPalette::Window, qt(colors.window));
        palette.setColor(QPalette::Link, qt(colors.link));
        palette.setColor(QPalette::WindowText, qt(colors.text));
        window_.setPalette(palette);
        return !colors.highContrast;
    }
    void SetApplicationFolder(std::u16string folder) override {
        window_.setApplicationFolder(std::move(folder));
    }

  private:
    double Scale() const { return window_.devicePixelRatioF(); }
    int Scaled(int pixels) const { return qRound(pixels * Scale()); }
    const Control* ControlOf(const QWidget* widget) const {
        for (const Control& control : layout::kControls) {
            if (widget != nullptr && (widget == &As(control) || As(control).isAncestorOf(widget))) {
                return &control;
            }
        }
        return nullptr;
    }
    // Runs `action` while each message box it brings is kept and answered; more than any case
    // brings at once are given an answer.
    template <class Action>
    void Acting(Action action) {
        const ModalDialogs dialogs(std::vector<ModalDialogs::Answer>(16, [this](QDialog& dialog) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            box != nullptr ? Answer(*box) : dialog.reject();
        }));
        action();
    }
    void Answer(QMessageBox& box) {
        const QMessageBox::Icon icon = box.icon();
        const auto buttons = box.standardButtons();
        std::string kind = icon == QMessageBox::Critical  ? "error "
                           : icon == QMessageBox::Warning ? "warning "
                           : icon == QMessageBox::NoIcon  ? ""
                                                          : "other ";
        kind += buttons == QMessageBox::Ok ? "OK"
                : buttons == (QMessageBox::Yes | QMessageBox::No) &&
                        box.defaultButton() == box.button(QMessageBox::No)
                    ? "Yes No"
                    : "other";
        if (box.parentWidget() != &window_ || !box.isModal()) kind += " not modal";
        messages.push_back({box.windowTitle().toStdU16String(),
                            box.text().replace(u'\n', "\r\n").toStdU16String(), kind});
        const auto answer =
            messages.size() <= answers.size() ? answers[messages.size() - 1] : Answer::Ok;
        box.button(answer == Answer::Yes  ? QMessageBox::Yes
                   : answer == Answer::No ? QMessageBox::No
                                          : QMessageBox::Ok)
            ->click();
    }

    Quillbeam window_;
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    // The look the reference pictures were taken with: the font from its file, drawn the same
    // whatever the machine's font configuration says, Qt's own style, and a caret that never
    // blinks.
    void initTestCase() {
        const int font = QFontDatabase::addApplicationFont(QUILLBEAM_PINNED_FONT);
        QVERIFY2(font >= 0, QUILLBEAM_PINNED_FONT);
        QFont pinned(QFontDatabase::applicationFontFamilies(font).at(0));
        pinned.setPixelSize(12);
        pinned.setHintingPreference(QFont::PreferFullHinting);
        pinned.setStyleStrategy(QFont::NoSubpixelAntialias);
        QApplication::setFont(pinned);
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        QApplication::setCursorFlashTime(0);
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        InstallAccessibleInterfaces();
    }
    void init() { window_.emplace(); }
    void cleanup() { window_.reset(); }

    void sharedCases_data() {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < WindowCases().size(); ++i) {
            QTest::newRow(WindowCases()[i].name.data()) << static_cast<int>(i);
        }
    }
    void sharedCases() {
        QFETCH(int, index);
        const std::string found = WindowCases()[static_cast<std::size_t>(index)].run(*window_);
        QVERIFY2(found.empty(), found.c_str());
    }

    void browsePutsTheChosenFolderInTheBoxAndCancelEmptiesIt() {
        const TempFolder temp;
        const QString chosen = QString::fromStdString(temp.path().string());
        QWidget& browse = window_->As(Find(Role::Browse));
        {
            ModalDialogs dialogs({ModalDialogs::Pick(chosen)});
            QTest::mouseClick(&browse, Qt::LeftButton);
            QCOMPARE(dialogs.seen().size(), 1u);
            QCOMPARE(dialogs.seen()[0].className, QString("QFileDialog"));
            QCOMPARE(dialogs.seen()[0].title, QString("Select a directory"));
            QCOMPARE(dialogs.seen()[0].parent, browse.window());
        }
        QCOMPARE(window_->Text(Find(Role::Folder)), chosen.toStdU16String());
        const ModalDialogs dialogs({ModalDialogs::Reject});
        QTest::mouseClick(&browse, Qt::LeftButton);
        QCOMPARE(window_->Text(Find(Role::Folder)), u"");
    }

    // A press on a link opens its page only when it is released there too.
    void aLinkPressedAndReleasedElsewhereOpensNothing() {
        QWidget& link = window_->As(Find(Role::UpdateLink));
        QTest::mousePress(&link, Qt::LeftButton, {}, {5, 5});
        QTest::mouseRelease(&link, Qt::LeftButton, {}, {link.width() + 5, 5});
        QVERIFY(window_->opened.empty());
    }

    // The folder box reads a dropped item's path, in the form Browse gives, and refuses what
    // carries none. It never takes a drop as a move, which would tell the file manager that the
    // item has gone, even where the file manager proposes one.
    void aDropGivesAFolderOnlyAsACopyOfALocalPath() {
        const QString folder = QDir::tempPath();
        const QUrl local = QUrl::fromLocalFile(folder);
        const struct {
            QUrl url;
            Qt::DropActions actions;
            Qt::DropAction taken;
        } rows[] = {
            {QUrl::fromLocalFile(folder + "/"), Qt::CopyAction, Qt::CopyAction},
            {local, Qt::LinkAction, Qt::LinkAction},
            {local, Qt::MoveAction | Qt::CopyAction, Qt::CopyAction},
            {local, Qt::MoveAction | Qt::LinkAction, Qt::LinkAction},
            {local, Qt::MoveAction, Qt::IgnoreAction},
            {QUrl("http://example.com/"), Qt::CopyAction, Qt::IgnoreAction},
        };
        for (const auto& row : rows) {
            QMimeData data;
            data.setUrls({row.url});
            window_->SetText(Find(Role::Folder), u"typed");
            QCOMPARE(Drop(window_->As(Find(Role::Folder)), data, row.actions), row.taken);
            QCOMPARE(window_->Text(Find(Role::Folder)),
                     row.taken != Qt::IgnoreAction ? folder.toStdU16String() : u"typed");
        }
    }

    // Qt's text box keeps Shift+Enter as a line separator of its own: it reaches the request as
    // CR LF too. No scroll bar takes room from the box's one line.
    void shiftEnterBreaksTheLineToo() {
        auto& box = window_->As<MessageEdit>(Find(Role::Message3));
        window_->SetText(Find(Role::Message3), u"one");
        box.moveCursor(QTextCursor::End);
        QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(&box, "two");
        QCOMPARE(window_->Request().messages[2], u"one\r\ntwo");
        QCOMPARE(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(box.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    }

    void iconComesInEverySize() {
        const QList<QSize> sizes = ApplicationIcon().availableSizes();
        for (const int size : kApplicationIconSizes) QVERIFY(sizes.contains(QSize(size, size)));
    }

  private:
    std::optional<QtWindow> window_;
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
