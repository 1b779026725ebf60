#include "qt_folder_edit.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <optional>

#include "dropped_folder.h"

namespace {

using quillbeam::window::DroppedItem;

std::optional<QString> DroppedFolder(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return std::nullopt;
    std::vector<DroppedItem> items;
    for (const QUrl& url : data->urls()) {
        DroppedItem& item = items.emplace_back();
        if (!url.isLocalFile()) continue;
        // The form Browse gives: absolute, with no trailing separator but at the root.
        const QString path = QDir::cleanPath(url.toLocalFile());
        const QFileInfo info(path);
        item.path = path.toStdU16String();
        item.kind = info.isDir()    ? DroppedItem::Kind::Folder
                    : info.exists() ? DroppedItem::Kind::File
                                    : DroppedItem::Kind::Other;
    }
    const auto folder = quillbeam::window::FolderFromDrop(items);
    if (!folder) return std::nullopt;
    return QString::fromStdU16String(*folder);
}

// Accepts a drop that gives a folder, and returns that folder. The box only reads the item's
// path: it takes the drop as a copy or a link, never as a move, which would tell the file manager
// that the item has gone.
std::optional<QString> Accept(QDropEvent* event) {
    std::optional<QString> folder = DroppedFolder(event->mimeData());
    if (!folder) return std::nullopt;
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (event->possibleActions().testFlag(action)) {
            event->setDropAction(action);
            event->accept();
            return folder;
        }
    }
    return std::nullopt;
}

}  // namespace

void FolderEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (!Accept(event)) event->ignore();
}

void FolderEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (!Accept(event)) event->ignore();
}

void FolderEdit::dropEvent(QDropEvent* event) {
    if (const std::optional<QString> folder = Accept(event)) {
        setText(*folder);
    } else {
        event->ignore();
    }
}
