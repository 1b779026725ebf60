#include "line_edit_accessible.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QValidator>

#include "text_items.h"

LineEditAccessible::LineEditAccessible(QLineEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText) {}

QLineEdit* LineEditAccessible::edit() const {
    return static_cast<QLineEdit*>(widget());
}

QString LineEditAccessible::readableText() const {
    return edit()->echoMode() == QLineEdit::Normal ? edit()->text() : QString();
}

QString LineEditAccessible::text(QAccessible::Text kind) const {
    QString text;
    if (kind == QAccessible::Value) {
        // A hidden entry still tells how many characters it holds.
        const QLineEdit::EchoMode echo = edit()->echoMode();
        if (echo == QLineEdit::Normal) {
            text = edit()->text();
        } else if (echo != QLineEdit::NoEcho) {
            text = QString(edit()->text().size(), u'*');
        }
    }
    if (text.isEmpty()) text = QAccessibleWidget::text(kind);
    if (text.isEmpty() && kind == QAccessible::Description) text = edit()->placeholderText();
    return text;
}

void LineEditAccessible::setText(QAccessible::Text kind, const QString& text) {
    if (kind != QAccessible::Value) {
        QAccessibleWidget::setText(kind, text);
        return;
    }
    QString value = text;
    int position = 0;
    if (const QValidator* validator = edit()->validator();
        validator != nullptr && validator->validate(value, position) != QValidator::Acceptable) {
        return;
    }
    edit()->setText(value);
}

QAccessible::State LineEditAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    if (edit()->isReadOnly()) {
        state.readOnly = true;
    } else {
        state.editable = true;
    }
    state.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
    state.selectableText = true;
    return state;
}

void* LineEditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface) {
        return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

void LineEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !edit()->hasSelectedText()) return;
    *startOffset = edit()->selectionStart();
    *endOffset = edit()->selectionEnd();
}

int LineEditAccessible::selectionCount() const {
    return edit()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void LineEditAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) edit()->deselect();
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) edit()->setSelection(startOffset, endOffset - startOffset);
}

int LineEditAccessible::cursorPosition() const {
    return edit()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position) {
    edit()->setCursorPosition(position);
}

QString LineEditAccessible::text(int startOffset, int endOffset) const {
    if (startOffset > endOffset) return {};
    return readableText().mid(startOffset, endOffset - startOffset);
}

QString LineEditAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                             int* startOffset, int* endOffset) const {
    return itemText(TextItemBefore, offset, boundary, startOffset, endOffset);
}

QString LineEditAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary,
                                            int* startOffset, int* endOffset) const {
    return itemText(TextItemAfter, offset, boundary, startOffset, endOffset);
}

QString LineEditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundary,
                                         int* startOffset, int* endOffset) const {
    return itemText(TextItemAt, offset, boundary, startOffset, endOffset);
}

QString LineEditAccessible::itemText(ItemSearch* search, int offset,
                                     QAccessible::TextBoundaryType boundary, int* startOffset,
                                     int* endOffset) const {
    TextSpan span;
    if (offset == -2) offset = cursorPosition();  // Qt's conventions for the cursor and the end
    if (offset == -1) offset = characterCount();
    const QString text = readableText();
    if (edit()->echoMode() == QLineEdit::Normal) span = search(text, offset, boundary);
    *startOffset = span.start;
    *endOffset = span.end;
    if (span.start < 0) return {};
    return text.mid(span.start, span.end - span.start);
}

int LineEditAccessible::characterCount() const {
    return static_cast<int>(edit()->text().size());
}

// The box tells where its cursor is drawn, scrolling included; another character lies as far
// from it as the text between them is wide.
QRect LineEditAccessible::characterRect(int offset) const {
    const QString text = readableText();
    const QString character = text.mid(offset, 1);
    if (offset < 0 || character.isEmpty()) return {};
    const QFontMetricsF metrics(edit()->font());
    const QRectF cursor = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
    const qreal x = cursor.center().x() + metrics.horizontalAdvance(text.left(offset)) -
                    metrics.horizontalAdvance(text.left(edit()->cursorPosition()));
    const QRect rect =
        QRectF(x, cursor.top(), metrics.horizontalAdvance(character), metrics.height()).toRect();
    return rect.translated(edit()->mapToGlobal(QPoint(0, 0)));
}

int LineEditAccessible::offsetAtPoint(const QPoint& point) const {
    return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
}

void LineEditAccessible::scrollToSubstring(int startIndex, int endIndex) {
    edit()->setCursorPosition(endIndex);
    edit()->setCursorPosition(startIndex);
}

QString LineEditAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // A one-line box has one look throughout: no attributes to report.
    *startOffset = *endOffset = offset;
    return {};
}

void LineEditAccessible::deleteText(int startOffset, int endOffset) {
    edit()->setText(edit()->text().remove(startOffset, endOffset - startOffset));
}

void LineEditAccessible::insertText(int offset, const QString& text) {
    edit()->setText(edit()->text().insert(offset, text));
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    edit()->setText(edit()->text().replace(startOffset, endOffset - startOffset, text));
}
