#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>
#include <cerrno>
#include <cstring>

#include "expected_package.h"
#include "main_window.h"
#include "modal_dialogs.h"
#include "package_writer.h"
#include "temp_folder.h"
#include "unshowable_characters.h"
#include "utf8.h"
#include "wait_guard.h"

namespace fs = std::filesystem;
using quillbeam::layout::Role;

namespace {

const char* const kFields[] = {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"};

QString ToQString(const fs::path& path) {
    return QString::fromStdString(path);
}

// Answers a message box with one of its buttons.
ModalDialogs::Answer Press(QMessageBox::StandardButton button) {
    return [button](QDialog& dialog) { static_cast<QMessageBox&>(dialog).button(button)->click(); };
}

QString Address(quillbeam::layout::Role link) {
    return QString::fromStdString(std::string(quillbeam::layout::LinkOf(link).address));
}

}  // namespace

class WindowCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void init() {
        temp_.emplace();
        MakeTemplateFolder(*temp_ / "app");
        fs::create_directories(*temp_ / "out");
        opened_.clear();

        window_.emplace();
        window_->setApplicationFolder(quillbeam::FromUtf8((*temp_ / "app").string()));
        window_->setLinkOpener([this](const QUrl& address) { opened_ << address.toString(); });
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window_, kWaitGuardMs));
    }
    void cleanup() {
        window_.reset();
        temp_.reset();
    }

    void generateWritesTheFirstContents() {
        Field("Text1")->setText(ToQString(*temp_ / "out"));
        ModalDialogs dialogs({ModalDialogs::Accept});
        ClickGenerate();

        const std::string mismatches =
            PackageMismatches(*temp_ / "out", {ToQString(*temp_ / "out").toStdU16String(),
                                               {u"Text2\r\n", u"Text3", u"Text4", u"Text5"},
                                               u"Text6"});
        QVERIFY2(mismatches.empty(), mismatches.c_str());

        QCOMPARE(dialogs.seen().size(), 1u);
        const ModalDialogs::Seen& message = dialogs.seen()[0];
        QCOMPARE(message.title, QString("Quillbeam"));
        QCOMPARE(
            message.text.split('\n'),
            QString::fromStdU16String(std::u16string(quillbeam::kCompletionMessage)).split("\r\n"));
        QCOMPARE(message.text.split('\n').size(), 3);
        QCOMPARE(message.icon, int(QMessageBox::NoIcon));
        QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(message.parent, &*window_);
        QVERIFY(message.modality != Qt::NonModal);
    }

    void typedLineBreaksReachTheFileAsCrLf() {
        Field("Text1")->setText(ToQString(*temp_ / "out"));
        auto* text3 = window_->findChild<MessageEdit*>("Text3");
        text3->clear();
        QTest::keyClicks(text3, "Sale");
        QTest::keyClick(text3, Qt::Key_Return);
        QTest::sendKeyEvent(QTest::Click, text3, Qt::Key_unknown,
                            QString::fromUtf16(u"\u20ac5 Caf\u00e9"), Qt::NoModifier);
        ModalDialogs dialogs({ModalDialogs::Accept});
        ClickGenerate();
        QCOMPARE(ReadFileBytes(*temp_ / "out" / "mytext2.txt"),
                 quillbeam::BuildVariableFileText(u"Sale\r\n\u20ac5 Caf\u00e9", u"Text6"));
    }

    // The report names the failure; the window and every text stay, so the user can correct the
    // folder and generate again.
    void aFailureIsReportedAndTheWindowKeepsItsTexts() {
        WriteFileBytes(*temp_ / "not a folder", "x");
        const QString badFolder = ToQString(*temp_ / "not a folder");
        Field("Text1")->setText(badFolder);
        Field("Text6")->setText("http://example.com/");
        const QStringList before = Texts();

        {
            ModalDialogs dialogs({ModalDialogs::Accept});
            ClickGenerate();
            QCOMPARE(dialogs.seen().size(), 1u);  // the report, and no completion message
            const ModalDialogs::Seen& report = dialogs.seen()[0];
            QCOMPARE(report.title, QString("Quillbeam"));
            QCOMPARE(report.icon, int(QMessageBox::Critical));  // recognisably an error
            QVERIFY2(report.text.contains(QString("Error %1").arg(ENOTDIR)),
                     qPrintable(report.text));
            QVERIFY(report.text.contains(badFolder + "/mytext1.txt"));
            QVERIFY(report.text.contains(QString::fromLatin1(std::strerror(ENOTDIR))));
            QCOMPARE(report.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(report.parent, &*window_);
            QVERIFY(report.modality != Qt::NonModal);
        }
        QVERIFY(window_->isVisible());
        QCOMPARE(Texts(), before);

        Field("Text1")->setText(ToQString(*temp_ / "out"));
        ModalDialogs again({ModalDialogs::Accept});
        ClickGenerate();
        QCOMPARE(again.seen().size(), 1u);
        QCOMPARE(ReadFileBytes(*temp_ / "out" / "mytext4.txt"),
                 quillbeam::BuildVariableFileText(u"Text5", u"http://example.com/"));
    }

    // Near letters go without a word. Characters the banner cannot show are named first: No
    // writes nothing and leaves every text, the focus in the first box holding them; Yes writes.
    void unshowableCharactersAreNamedBeforeWriting() {
        const fs::path out = *temp_ / "out";
        Field("Text1")->setText(ToQString(out));
        auto* text3 = window_->findChild<MessageEdit*>("Text3");
        text3->setCrlfText(QString::fromUtf16(u"Za\u017C\u00F3\u0142\u0107"));
        {
            ModalDialogs dialogs({ModalDialogs::Accept});
            ClickGenerate();
            QCOMPARE(dialogs.seen().size(), 1u);  // the completion message alone
        }
        fs::remove_all(out);
        fs::create_directory(out);

        text3->setCrlfText(QString::fromUtf16(u"\U0001F600 \u041F\u0440\u0438"));
        const QStringList before = Texts();
        {
            ModalDialogs dialogs({Press(QMessageBox::No)});
            ClickGenerate();
            QCOMPARE(dialogs.seen().size(), 1u);
            const ModalDialogs::Seen& question = dialogs.seen()[0];
            QCOMPARE(question.title, QString("Quillbeam"));
            QCOMPARE(question.text.split('\n'),
                     QString::fromStdU16String(
                         quillbeam::window::QuestionBeforeWriting(window_->request())->text)
                         .split("\r\n"));
            QVERIFY(question.text.startsWith("Message 2 holds"));
            QCOMPARE(question.icon, int(QMessageBox::Warning));
            QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(question.parent, &*window_);
        }
        QVERIFY(fs::is_empty(out));
        QCOMPARE(Texts(), before);
        QCOMPARE(window_->focusWidget(), text3);

        ModalDialogs dialogs({Press(QMessageBox::Yes), ModalDialogs::Accept});
        ClickGenerate();
        QCOMPARE(dialogs.seen().size(), 2u);  // the question, then the completion message
        QCOMPARE(ReadFileBytes(out / "mytext2.txt"),
                 quillbeam::BuildVariableFileText(u"\U0001F600 \u041F\u0440\u0438", u"Text6"));
    }

    // A folder dragged from the file manager fills the folder box as Browse would; a file gives
    // its folder. Anything else is refused and the box keeps its text; the message boxes still
    // take dropped text.
    void droppingAFolderFillsTheFolderBox() {
        const fs::path out = *temp_ / "out";
        WriteFileBytes(out / "notes.txt", "x");
        const QUrl folder = QUrl::fromLocalFile(ToQString(out));
        const QString unchanged = "typed";
        const struct {
            QList<QUrl> urls;
            QString text;
            Qt::DropActions actions;
            QString box;
        } rows[] = {
            {{folder}, {}, Qt::CopyAction | Qt::MoveAction, ToQString(out)},
            {{QUrl::fromLocalFile(ToQString(out) + "/")}, {}, Qt::CopyAction, ToQString(out)},
            {{QUrl::fromLocalFile(ToQString(out / "notes.txt"))},
             {},
             Qt::LinkAction,
             ToQString(out)},
            {{folder}, {}, Qt::MoveAction, unchanged},  // the file manager would think it moved
            {{QUrl("http://example.com/")}, {}, Qt::CopyAction, unchanged},
            {{folder, folder}, {}, Qt::CopyAction, unchanged},
            {{QUrl::fromLocalFile(ToQString(*temp_ / "gone"))}, {}, Qt::CopyAction, unchanged},
            {{}, ToQString(out), Qt::CopyAction, unchanged},
        };
        QLineEdit* box = Field("Text1");
        for (const auto& row : rows) {
            box->setText(unchanged);
            QMimeData data;
            if (!row.urls.isEmpty()) data.setUrls(row.urls);
            if (!row.text.isEmpty()) data.setText(row.text);
            const bool taken = Drop(box, data, row.actions);
            QCOMPARE(box->text(), row.box);
            QCOMPARE(taken, row.box != unchanged);
        }

        auto* text2 = window_->findChild<MessageEdit*>("Text2");
        text2->clear();
        QMimeData data;
        data.setUrls({folder});
        data.setText("plain words");
        QVERIFY(Drop(text2->viewport(), data, Qt::CopyAction));  // where a drag arrives
        QCOMPARE(text2->crlfText(), QString("plain words"));
        QCOMPARE(box->text(), unchanged);
    }

    void cancellingBrowseEmptiesTheFolderBox() {
        Field("Text1")->setText("/somewhere");
        ModalDialogs dialogs({ModalDialogs::Reject});
        QTest::mouseClick(window_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(Field("Text1")->text(), QString());
        QCOMPARE(dialogs.seen().size(), 1u);
        QCOMPARE(dialogs.seen()[0].className, QString("QFileDialog"));
        QCOMPARE(dialogs.seen()[0].title, QString("Select a directory"));
        QCOMPARE(dialogs.seen()[0].parent, &*window_);
    }

    void browsePutsTheChosenFolderInTheBox() {
        const QString chosen = ToQString(*temp_ / "out");
        ModalDialogs dialogs({ModalDialogs::Pick(chosen)});
        QTest::mouseClick(window_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(Field("Text1")->text(), chosen);
    }

    // A press on a link opens its page only when it is released there too.
    void linksOpenThePublisherPagesAndChangeNothing() {
        const QStringList before = Texts();
        ModalDialogs dialogs;
        auto* label7 = window_->findChild<QLabel*>("Label7");
        QTest::mousePress(label7, Qt::LeftButton, {}, {5, 5});
        QTest::mouseRelease(label7, Qt::LeftButton, {}, {label7->width() + 5, 5});
        QTest::mouseClick(window_->findChild<QLabel*>("Image1"), Qt::LeftButton, {}, {200, 40});
        QTest::mouseClick(label7, Qt::LeftButton);
        QCOMPARE(opened_, QStringList({Address(Role::ResourcesLink), Address(Role::UpdateLink)}));
        QCOMPARE(Texts(), before);
        QVERIFY(dialogs.seen().empty());
    }

  private:
    QLineEdit* Field(const char* name) { return window_->findChild<QLineEdit*>(name); }

    QStringList Texts() const {
        QStringList texts;
        for (const char* name : kFields) {
            const auto* widget = window_->findChild<QWidget*>(name);
            if (const auto* edit = qobject_cast<const MessageEdit*>(widget)) {
                texts << edit->crlfText();
            } else {
                texts << qobject_cast<const QLineEdit*>(widget)->text();
            }
        }
        return texts;
    }

    // Drags `data` over the middle of `target` and drops it there; whether the drop was taken.
    static bool Drop(QWidget* target, const QMimeData& data, Qt::DropActions actions) {
        const QPoint middle = target->rect().center();
        QDragEnterEvent enter(middle, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(middle, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return enter.isAccepted() && drop.isAccepted();
    }

    void ClickGenerate() {
        QTest::mouseClick(window_->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    }

    std::optional<TempFolder> temp_;
    std::optional<Quillbeam> window_;
    QStringList opened_;
};

QTEST_MAIN(WindowCommandsTest)
#include "window_commands_test.moc"
