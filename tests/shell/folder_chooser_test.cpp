#include <QDir>
#include <QFileDialog>
#include <QToolButton>
#include <QtTest>

#include "modal_dialogs.h"
#include "qt_modAPI.h"
#include "temp_folder.h"

using namespace quillbeam::modAPI;

namespace {

QString ToQString(const std::filesystem::path& path) {
    return QString::fromStdString(path);
}

ModalDialogs::Answer Inspect(std::function<void(QFileDialog&)> check, ModalDialogs::Answer then) {
    return [check = std::move(check), then = std::move(then)](QDialog& dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(&dialog);
        QVERIFY(fileDialog != nullptr);
        check(*fileDialog);
        then(dialog);
    };
}

}  // namespace

class FolderChooserTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // Qt's own dialog, which a test can drive, wherever the desktop offers another.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        owner_.show();
    }

    void pathExistsForFilesAndFoldersOnly() {
        TempFolder temp;
        WriteFileBytes(temp / "file", "x");
        QVERIFY(PathExists(ToQString(temp.path())));
        QVERIFY(PathExists(ToQString(temp / "file")));
        QVERIFY(!PathExists(ToQString(temp / "missing")));
        QVERIFY(!PathExists(QString()));
    }

    // The Browse command's call: a modal folder dialog with the given title, folders only.
    void cancelGivesTheEmptyText() {
        ModalDialogs dialogs({Inspect(
            [](QFileDialog& dialog) {
                QCOMPARE(dialog.fileMode(), QFileDialog::Directory);
                QVERIFY(dialog.testOption(QFileDialog::ShowDirsOnly));
            },
            ModalDialogs::Reject)});
        QCOMPARE(ChooseFolder(&owner_, "Select a directory", QString(), {.newStyle = true}),
                 QString());
        QCOMPARE(dialogs.seen().size(), 1u);
        QCOMPARE(dialogs.seen()[0].title, QString("Select a directory"));
        QCOMPARE(dialogs.seen()[0].parent, &owner_);
        QVERIFY(dialogs.seen()[0].modality != Qt::NonModal);

        TempFolder temp;
        ModalDialogs withStart({ModalDialogs::Reject});
        QCOMPARE(ChooseFolder(&owner_, "Pick", ToQString(temp.path()), {}), QString());
    }

    // The new style lets the user make a folder; the classic dialog could not.
    void onlyTheNewStyleCanMakeAFolder() {
        TempFolder temp;
        for (const bool newStyle : {true, false}) {
            bool canMakeAFolder = !newStyle;
            ModalDialogs dialogs({Inspect(
                [&](QFileDialog& dialog) {
                    const auto* button = dialog.findChild<QToolButton*>("newFolderButton");
                    QVERIFY(button != nullptr);
                    canMakeAFolder = button->isVisible() && button->isEnabled();
                },
                ModalDialogs::Reject)});
            ChooseFolder(&owner_, "Pick", ToQString(temp.path()), {.newStyle = newStyle});
            QCOMPARE(canMakeAFolder, newStyle);
        }
    }

    void choosingAFolderGivesItsFullPath() {
        TempFolder temp;
        const QString chosen = ToQString(temp / "Zo\u00eb's banner");
        QVERIFY(QDir().mkdir(chosen));
        ModalDialogs dialogs({ModalDialogs::Pick(chosen)});
        QCOMPARE(ChooseFolder(&owner_, "Pick", QString(), {.newStyle = true}), chosen);
    }

    void anExistingStartFolderIsSelected() {
        TempFolder temp;
        const QString start = ToQString(temp / "start");
        QVERIFY(QDir().mkdir(start));
        ModalDialogs dialogs({ModalDialogs::Accept});
        QCOMPARE(ChooseFolder(&owner_, "Pick", start, {}), start);
        QCOMPARE(dialogs.seen().size(), 1u);
    }

    void aMissingStartFolderIsNeitherSelectedNorReturned() {
        TempFolder temp;
        const QString missing = ToQString(temp / "missing");
        ModalDialogs dialogs({Inspect(
            [&](QFileDialog& dialog) {
                QVERIFY(!dialog.selectedFiles().contains(missing));
                QVERIFY(dialog.directory().absolutePath() != ToQString(temp.path()));
            },
            ModalDialogs::Accept)});
        QVERIFY(ChooseFolder(&owner_, "Pick", missing, {}) != missing);
        QCOMPARE(dialogs.seen().size(), 1u);
    }

    void rootAtStartKeepsTheDialogInside() {
        TempFolder temp;
        const QString root = ToQString(temp / "root");
        QVERIFY(QDir().mkpath(root + "/inner"));
        ModalDialogs dialogs({Inspect(
            [&](QFileDialog& dialog) {
                QCOMPARE(dialog.directory().absolutePath(), root);
                auto* up = dialog.findChild<QToolButton*>("toParentButton");
                QVERIFY(up != nullptr);
                up->click();
                QCOMPARE(dialog.directory().absolutePath(), root);
            },
            ModalDialogs::Accept)});
        QCOMPARE(ChooseFolder(&owner_, "Pick", root, {.rootAtStart = true}), root);
    }

  private:
    QWidget owner_;
};

QTEST_MAIN(FolderChooserTest)
#include "folder_chooser_test.moc"
