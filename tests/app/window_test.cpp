// The Qt window: every case both windows share (window_cases.h), then what only Qt's window has:
// Qt's folder dialog, a link pressed and released elsewhere, what a drag from the file manager
// may carry, Shift+Enter and the icon.
#include <QMimeData>
#include <QtTest>

#include "accessible_interfaces.h"
#include "artwork.h"
#include "qt_window_driver.h"
#include "temp_folder.h"
#include "window_cases.h"

namespace {

namespace layout = quillbeam::layout;
using layout::Role;

const layout::Control& Of(Role role) {
    return layout::Find(role);
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QtWindowDriver::PinTheLook();
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
        QWidget& browse = window_->As(Of(Role::Browse));
        {
            ModalDialogs dialogs({ModalDialogs::Pick(chosen)});
            QTest::mouseClick(&browse, Qt::LeftButton);
            QCOMPARE(dialogs.seen().size(), 1u);
            QCOMPARE(dialogs.seen()[0].className, QString("QFileDialog"));
            QCOMPARE(dialogs.seen()[0].title, QString("Select a directory"));
            QCOMPARE(dialogs.seen()[0].parent, &window_->window());
        }
        QCOMPARE(window_->Text(Of(Role::Folder)), chosen.toStdU16String());
        ModalDialogs dialogs({ModalDialogs::Reject});
        QTest::mouseClick(&browse, Qt::LeftButton);
        QCOMPARE(window_->Text(Of(Role::Folder)), u"");
    }

    // A press on a link opens its page only when it is released there too.
    void aLinkPressedAndReleasedElsewhereOpensNothing() {
        QWidget& link = window_->As(Of(Role::UpdateLink));
        QTest::mousePress(&link, Qt::LeftButton, {}, {5, 5});
        QTest::mouseRelease(&link, Qt::LeftButton, {}, {link.width() + 5, 5});
        QVERIFY(window_->opened.empty());
    }

    // The folder box reads a dropped item's path only: it never takes a drop as a move, which
    // would tell the file manager that the item has gone. What carries no local path is refused;
    // a message box takes dropped text as ever.
    void aDropGivesAFolderOnlyAsACopyOfALocalPath() {
        const TempFolder temp;
        const QString folder = QString::fromStdString(temp.path().string());
        const struct {
            QList<QUrl> urls;
            QString text;
            Qt::DropActions actions;
            QString box;
        } rows[] = {
            {{QUrl::fromLocalFile(folder + "/")}, {}, Qt::CopyAction, folder},
            {{QUrl::fromLocalFile(folder)}, {}, Qt::LinkAction, folder},
            {{QUrl::fromLocalFile(folder)}, {}, Qt::MoveAction, "typed"},
            {{QUrl("http://example.com/")}, {}, Qt::CopyAction, "typed"},
            {{}, folder, Qt::CopyAction, "typed"},
        };
        for (const auto& row : rows) {
            QMimeData data;
            if (!row.urls.isEmpty()) data.setUrls(row.urls);
            if (!row.text.isEmpty()) data.setText(row.text);
            window_->SetText(Of(Role::Folder), u"typed");
            QCOMPARE(Drop(window_->As(Of(Role::Folder)), data, row.actions), row.box != "typed");
            QCOMPARE(window_->Text(Of(Role::Folder)), row.box.toStdU16String());
        }
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(folder)});
        data.setText("plain words");
        window_->SetText(Of(Role::Message1), u"");
        auto& message = window_->As<MessageEdit>(Of(Role::Message1));
        QVERIFY(Drop(*message.viewport(), data, Qt::CopyAction));
        QCOMPARE(window_->Text(Of(Role::Message1)), u"plain words");
    }

    // Qt's text box stores Shift+Enter as a line separator of its own; it reaches the request as
    // CR LF too. No scroll bar takes room from the box's one line.
    void shiftEnterBreaksTheLineToo() {
        auto& box = window_->As<MessageEdit>(Of(Role::Message3));
        window_->Focus(Of(Role::Message3));
        window_->SetText(Of(Role::Message3), u"one");
        box.moveCursor(QTextCursor::End);
        QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
        window_->Type(u"two");
        QCOMPARE(window_->Request().messages[2], u"one\r\ntwo");
        QCOMPARE(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(box.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    }

    void iconComesInEverySize() {
        const QList<QSize> sizes = ApplicationIcon().availableSizes();
        for (const int size : kApplicationIconSizes) QVERIFY(sizes.contains(QSize(size, size)));
    }

  private:
    // Drags `data` over the middle of `target` and drops it there; whether the drop was taken.
    static bool Drop(QWidget& target, const QMimeData& data, Qt::DropActions actions) {
        const QPoint middle = target.rect().center();
        QDragEnterEvent enter(middle, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        QDropEvent drop(middle, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &drop);
        return enter.isAccepted() && drop.isAccepted();
    }

    std::optional<QtWindowDriver> window_;
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
