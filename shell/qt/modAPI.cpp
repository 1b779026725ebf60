#include "modAPI.h"

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
QFileDialog::Options DialogOptions(const ChooserSwitches& switches) {
    QFileDialog::Options options;
    if (!switches.newStyle) options |= QFileDialog::ReadOnly;
    if (!switches.includeFiles) options |= QFileDialog::ShowDirsOnly;
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
    dialog.setOptions(DialogOptions(switches));
    if (PathExists(startFolder)) {
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
