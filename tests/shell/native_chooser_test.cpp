#include <QFileDialog>
#include <QtTest>

#include "modal_dialogs.h"
#include "qt_modAPI.h"
#include "temp_folder.h"

using namespace quillbeam::modAPI;

// Which calls may show the desktop's own chooser. Native dialogs stay allowed here (no
// AA_DontUseNativeDialogs); offscreen has none, so Qt's dialog opens and shows the options chosen.
class NativeChooserTest : public QObject {
    Q_OBJECT

  private slots:
    void onlySwitchesTheDesktopCannotKeepUseQtsDialog_data() {
        QTest::addColumn<bool>("rootAtStart");
        QTest::addColumn<bool>("newStyle");
        QTest::addColumn<bool>("includeFiles");
        QTest::addColumn<bool>("startExists");
        QTest::addColumn<bool>("qtsOwn");
        QTest::newRow("the Browse command") << false << true << false << false << false;
        QTest::newRow("files, start folder") << false << true << true << true << false;
        QTest::newRow("root at a missing start") << true << true << false << false << false;
        QTest::newRow("root at start") << true << true << false << true << true;
        QTest::newRow("old style") << false << false << false << false << true;
    }
    void onlySwitchesTheDesktopCannotKeepUseQtsDialog() {
        QFETCH(bool, rootAtStart);
        QFETCH(bool, newStyle);
        QFETCH(bool, includeFiles);
        QFETCH(bool, startExists);
        QFETCH(bool, qtsOwn);
        TempFolder temp;
        const QString start = QString::fromStdString(startExists ? temp.path() : temp / "missing");
        bool nativeRefused = !qtsOwn;
        ModalDialogs dialogs({[&](QDialog& dialog) {
            auto* fileDialog = qobject_cast<QFileDialog*>(&dialog);
            if (fileDialog != nullptr) {
                nativeRefused = fileDialog->testOption(QFileDialog::DontUseNativeDialog);
            }
            dialog.reject();
        }});
        QWidget owner;
        owner.show();
        const ChooserSwitches switches{
            .rootAtStart = rootAtStart, .newStyle = newStyle, .includeFiles = includeFiles};
        QCOMPARE(ChooseFolder(&owner, "Pick", start, switches), QString());
        QCOMPARE(dialogs.seen().size(), 1u);
        QCOMPARE(nativeRefused, qtsOwn);
    }
};

QTEST_MAIN(NativeChooserTest)
#include "native_chooser_test.moc"
