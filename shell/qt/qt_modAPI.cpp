#include "qt_modAPI.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

namespace quillbeam::modAPI {
namespace {

// The nearest QFileDialog options: the classic dialog could not make folders, so without the new
// style the dialog is read-only; files are listed only when asked for. Qt's dialog always has its
// name box and always refuses a typed folder that does not exist, so the edit box and validation
// switches need no option, and it has no status line to show.
//
// On a desktop with its own chooser, Qt shows that one instead, and hands it the start folder to
// select. GTK's keeps the title, folders only (it lists files greyed out, whether or not files are
// asked for), the modality to the owner and the full path back; it makes a typed folder that does
// not exist rather than return it missing. Two switches the desktop's choosers cannot keep, so
// those calls use Qt's own dialog:
// - without the new style: the portal's chooser cannot forbid making folders (GTK's can, but
//   which of the two appears is the desktop's choice);
// - root at start: neither can keep the user inside a folder; their side bars, path bars and typed
//   paths lead anywhere.
QFileDialog::Options DialogOptions(const ChooserSwitches& switches, bool rootAtStart) {
    QFileDialog::Options options;
    if (!switches.newStyle) options |= QFileDialog::ReadOnly;
    if (!switches.includeFiles) options |= QFileDialog::ShowDirsOnly;
    if (!switches.newStyle || rootAtStart) options |= QFileDialog::DontUseNativeDialog;
    return options;
}

bool IsInside(const QString& path, const QString& root) {
    const QString relative = QDir(root).relativeFilePath(path);
    return relative != u".." && !relative.startsWith(u"../") && !QDir::isAbsolutePath(relative);
}

// The dialog has no tree root to set: it offers only `root` in its side bar and goes back to it
// whenever the user steps outside.
void KeepInside(QFileDialog& dialog, const QString& root) {
    dialog.setSidebarUrls({QUrl::fromLocalFile(root)});
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog,
                     [&dialog, root](const QString& entered) {
                         if (!IsInside(entered, root)) dialog.setDirectory(root);
                     });
}

}  // namespace

QString ChooseFolder(QWidget* owner, const QString& title, const QString& startFolder,
                     const ChooserSwitches& switches) {
    QFileDialog dialog(owner, title);
    dialog.setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    const bool startExists = PathExists(startFolder);
    dialog.setOptions(DialogOptions(switches, switches.rootAtStart && startExists));
    if (startExists) {
        const QString start = QFileInfo(startFolder).absoluteFilePath();
        if (switches.rootAtStart) {
            dialog.setDirectory(start);
            KeepInside(dialog, start);
        } else {
            dialog.selectFile(start);
        }
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

bool PathExists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

}  // namespace quillbeam::modAPI
