#pragma once

#include <QMessageBox>
#include <QString>
#include <string_view>

// The package core's UTF-16 texts as Qt strings.
inline QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
// The layout table's names and addresses, which are ASCII.
inline QString ToQString(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Shows a message box with one OK button, modal to `owner`, and waits until it is dismissed.
// Line breaks in `text` may be CR LF, the program's own form.
void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
                    const QString& text);

// Asks the user whether to go on: the text under a warning icon, captioned with the application
// title, modal to `owner`, with Yes and No. True for Yes; No, the default, and Escape give false.
bool AskToGoOn(QWidget* owner, std::u16string_view text);

// Tells the user that a command failed: the report's text under an error icon, captioned with the
// application title, modal to `owner`.
void ShowFailureReport(QWidget* owner, std::u16string_view text);
