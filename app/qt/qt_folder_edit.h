#pragma once

#include <QLineEdit>

// The folder box. A folder dragged from the file manager and dropped on it takes the place of its
// text, as Browse would give it; a dropped file gives the folder it lies in. Every other drop (a
// web address, several items, text) is refused and leaves the text as it was.
class FolderEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit FolderEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
