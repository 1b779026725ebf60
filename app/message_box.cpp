#include "message_box.h"

#include "package_writer.h"

void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
                    const QString& text) {
    // A label shows a bare CR as a glyph of its own; '\n' alone breaks the line.
    const QString shown = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, caption, shown, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    box.exec();
}

void ShowFailureReport(QWidget* owner, std::u16string_view text) {
    ShowMessageBox(owner, QMessageBox::Critical, ToQString(quillbeam::kApplicationTitle),
                   ToQString(text));
}
