#include "qt_message_edit.h"

#include <QTextDocument>

namespace {
constexpr qreal kDocumentMargin = 2;  // the default 4 leaves no room for a line in 25 pixels
}

MessageEdit::MessageEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document()->setDocumentMargin(kDocumentMargin);
}

// toPlainText() gives every paragraph end and line separator as '\n'.
QString MessageEdit::crlfText() const {
    return toPlainText().replace(QChar(u'\n'), QStringLiteral("\r\n"));
}

void MessageEdit::setCrlfText(const QString& text) {
    setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}
