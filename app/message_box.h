#pragma once

#include <QMessageBox>
#include <QString>

// Shows a message box with one OK button, modal to `owner`, and waits until it is dismissed.
// Line breaks in `text` may be CR LF, the program's own form.
void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
                    const QString& text);
