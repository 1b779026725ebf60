#include "message_box.h"

#include <QPushButton>

#include "package_writer.h"

namespace {

// A message box with the program's text, modal to `owner`.
void Prepare(QMessageBox& box, QWidget* owner) {
    // A label shows a bare CR as a glyph of its own; '\n' alone breaks the line.
    box.setText(box.text().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
}

}  // namespace

void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
                    const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
    Prepare(box, owner);
    box.exec();
}

bool AskToGoOn(QWidget* owner, std::u16string_view text) {
    QMessageBox box(QMessageBox::Warning, ToQString(quillbeam::kApplicationTitle), ToQString(text),
                    QMessageBox::Yes | QMessageBox::No, owner);
    Prepare(box, owner);
    // Enter, Escape or closing the box writes nothing: only a deliberate Yes goes on.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

void ShowFailureReport(QWidget* owner, std::u16string_view text) {
    ShowMessageBox(owner, QMessageBox::Critical, ToQString(quillbeam::kApplicationTitle),
                   ToQString(text));
}
