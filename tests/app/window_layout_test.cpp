#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

#include "artwork.h"
#include "link_color.h"
#include "main_window.h"
#include "modal_dialogs.h"
#include "wait_guard.h"

namespace {

namespace layout = quillbeam::layout;

// The Qt class that stands for each kind of control; a link is a clickable label.
const char* QtClassOf(const layout::Control& control) {
    switch (control.kind) {
        case layout::Kind::Picture:
            return "ClickLabel";
        case layout::Kind::Label:
            return control.isLink() ? "ClickLabel" : "QLabel";
        case layout::Kind::LineBox:
            return control.role == layout::Role::Folder ? "FolderEdit" : "QLineEdit";
        case layout::Kind::MessageBox:
            return "MessageEdit";
        case layout::Kind::Button:
            return "QPushButton";
    }
    return "";
}

QString NameOf(const layout::Control& control) {
    return QString::fromLatin1(control.name.data(), static_cast<qsizetype>(control.name.size()));
}

QRect ToQRect(const layout::Rect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

QString TextOf(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const MessageEdit*>(widget)) return edit->crlfText();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return line->text();
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) return button->text();
    return "<no text>";
}

quillbeam::window::Rgb ToRgb(const QColor& color) {
    return {static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
            static_cast<std::uint8_t>(color.blue())};
}

bool IsInput(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPushButton*>(widget) ||
           qobject_cast<const MessageEdit*>(widget);
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window_.emplace();
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&*window_, kWaitGuardMs));
    }
    void cleanup() { window_.reset(); }

    void controlsMatchTheTable() {
        QCOMPARE(window_->windowTitle(), QString("Quillbeam 1.0"));
        QCOMPARE(window_->size(), QSize(378, 550));
        for (const layout::Control& control : layout::kControls) {
            const QString name = NameOf(control);
            const auto* widget = window_->findChild<QWidget*>(name);
            QVERIFY2(widget != nullptr, qPrintable(name));
            QCOMPARE(widget->metaObject()->className(), QtClassOf(control));
            QCOMPARE(widget->geometry(), ToQRect(control.rect));
            QCOMPARE(TextOf(widget), QString::fromStdU16String(std::u16string(control.firstText)));
        }
        const auto* image = window_->findChild<QLabel*>("Image1");
        QCOMPARE(image->pixmap().size(), QSize(382, 82));
    }

    // Whatever font the desktop gives, no label's text is cut off by its fixed box.
    void everyLabelShowsItsWholeText() {
        for (const QLabel* label : window_->findChildren<QLabel*>()) {
            const int needed = label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(needed <= label->contentsRect().width(), qPrintable(label->objectName()));
        }
    }

    // Where a text box or button overlaps a label or the picture, the input is on top.
    void inputsLieAboveLabelsAndThePicture() {
        int overlaps = 0;
        for (const QWidget* input : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!IsInput(input)) continue;
            for (const QLabel* label : window_->findChildren<QLabel*>()) {
                const QRect shared = input->geometry() & label->geometry();
                if (shared.isEmpty()) continue;
                ++overlaps;
                const QWidget* top = window_->childAt(shared.center());
                QVERIFY2(top == input || input->isAncestorOf(top), qPrintable(label->objectName()));
            }
        }
        QCOMPARE(overlaps, 1);  // the last row of Message 4's label under its box
    }

    void tabCyclesThroughTheInputs() {
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Text1"));
        QStringList visited;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, QStringList({"Command1", "Text2", "Text3", "Text4", "Text5", "Command2",
                                       "Text6", "Text1"}));
        QStringList tableOrder;
        for (const layout::Control* control : layout::FocusOrder()) tableOrder << NameOf(*control);
        QCOMPARE(tableOrder, QStringList({"Text1"}) + visited.mid(0, 7));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Text6"));
    }

    void everyInputHasANameForScreenReaders() {
        const std::pair<const char*, QString> names[] = {
            {"Text1", "Select a Project Folder"},
            {"Text2", "Message 1"},
            {"Text3", "Message 2"},
            {"Text4", "Message 3"},
            {"Text5", "Message 4"},
            {"Text6", "Enter URL where banner will link to"},
        };
        for (const auto& [control, name] : names) {
            QCOMPARE(window_->findChild<QWidget*>(control)->accessibleName(), name);
        }
        for (const char* link : {"Image1", "Label7"}) {
            const auto* widget = window_->findChild<QWidget*>(link);
            QVERIFY2(!widget->accessibleName().isEmpty(), link);
            QVERIFY2(widget->accessibleDescription().contains("web browser"), link);
        }
    }

    void linksLookLikeLinks() {
        QCOMPARE(window_->findChild<QLabel*>("Label7")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(window_->findChild<QLabel*>("Image1")->cursor().shape(), Qt::PointingHandCursor);
    }

    // The update link's text, as drawn, stands out from the window on every palette: blue on a
    // light window, else the desktop's link colour, else its text colour. The palette changes
    // while the window is open, as when the desktop turns to a dark style.
    void linkTextReadsOnEveryPalette() {
        const struct {
            QColor window;
            QColor link;
            QColor text;
            QColor drawn;
        } rows[] = {
            {QColor(0xf6, 0xf5, 0xf4), QColor(0x1b, 0x6a, 0xcb), Qt::black, QColor(0, 0, 255)},
            {QColor(0x32, 0x32, 0x32), QColor(0x78, 0xae, 0xed), Qt::white,
             QColor(0x78, 0xae, 0xed)},
            // A dark palette whose link colour is too dim there: 3.4 to 1.
            {QColor(0x32, 0x32, 0x32), QColor(0x35, 0x84, 0xe4), QColor(0xee, 0xee, 0xee),
             QColor(0xee, 0xee, 0xee)},
        };
        const auto* label7 = window_->findChild<QLabel*>("Label7");
        for (const auto& row : rows) {
            QPalette palette = window_->palette();
            palette.setColor(QPalette::Window, row.window);
            palette.setColor(QPalette::Link, row.link);
            palette.setColor(QPalette::WindowText, row.text);
            window_->setPalette(palette);
            // The text's fully covered pixels are those that stand out most.
            const auto contrast = [&row](const QColor& color) {
                return quillbeam::window::ContrastRatio(ToRgb(color), ToRgb(row.window));
            };
            const QImage drawn = window_->grab(label7->geometry()).toImage();
            QColor strongest = row.window;
            for (int y = 0; y < drawn.height(); ++y) {
                for (int x = 0; x < drawn.width(); ++x) {
                    if (contrast(drawn.pixelColor(x, y)) > contrast(strongest)) {
                        strongest = drawn.pixelColor(x, y);
                    }
                }
            }
            const int off = std::abs(strongest.red() - row.drawn.red()) +
                            std::abs(strongest.green() - row.drawn.green()) +
                            std::abs(strongest.blue() - row.drawn.blue());
            QVERIFY2(off <= 8, qPrintable(strongest.name()));  // what antialiasing leaves
            QVERIFY(contrast(strongest) >= quillbeam::window::kReadableContrast);
        }
    }

    // Several lines in a box one line high: Enter breaks the line, Tab leaves, long lines wrap.
    void messageBoxesTakeLinesButNotTabs() {
        auto* text3 = window_->findChild<MessageEdit*>("Text3");
        text3->setFocus();
        text3->clear();
        QTest::keyClicks(text3, "first");
        QTest::keyClick(text3, Qt::Key_Return);
        QTest::keyClicks(text3, "second");
        QTest::keyClick(text3, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(text3, "third");
        QCOMPARE(text3->crlfText(), QString("first\r\nsecond\r\nthird"));

        QTest::keyClick(text3, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Text4"));
        QCOMPARE(text3->crlfText(), QString("first\r\nsecond\r\nthird"));

        QCOMPARE(text3->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(text3->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        text3->setPlainText(QString(200, 'w'));
        QTRY_VERIFY_WITH_TIMEOUT(text3->document()->firstBlock().layout()->lineCount() > 1,
                                 kWaitGuardMs);
    }

    void oneLineBoxesIgnoreEnterAndEscape() {
        ModalDialogs dialogs;
        for (const char* name : {"Text1", "Text6"}) {
            auto* box = window_->findChild<QLineEdit*>(name);
            box->setFocus();
            box->setText("typed");
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClick(box, Qt::Key_Enter);
            QTest::keyClick(box, Qt::Key_Escape);
            QCOMPARE(box->text(), QString("typed"));
            QCOMPARE(QApplication::focusWidget(), box);
        }
        QVERIFY(window_->isVisible());
        QVERIFY(dialogs.seen().empty());
    }

    void iconComesInEverySize() {
        const QList<QSize> sizes = ApplicationIcon().availableSizes();
        for (const int size : kApplicationIconSizes) QVERIFY(sizes.contains(QSize(size, size)));
    }

  private:
    std::optional<Quillbeam> window_;
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
