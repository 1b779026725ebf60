#pragma once

#include <QPlainTextEdit>

// A message box of the window: several lines in a box one line high. Enter breaks the line, Tab
// moves the focus, long lines wrap and there are no scroll bars. Its text goes in and out with
// CR LF line breaks, the form the banner's files carry.
class MessageEdit : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit MessageEdit(QWidget* parent = nullptr);

    QString crlfText() const;
    void setCrlfText(const QString& text);
};
