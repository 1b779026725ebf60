#pragma once

#include <QAccessibleWidget>

#include "text_items.h"

class QLineEdit;

// What assistive tools see of a one-line text box. It stands in for Qt's own interface, whose
// answer to "which word (or sentence) is here" never returns in Qt 6.4 at the end of the text, nor
// at the start of a text that opens with punctuation such as a folder's "/": its search for the
// item's end takes QTextBoundaryFinder's -1 ("no boundary") for a place before the end, so once
// the finder stands at the end (or, after the search backwards, before the start) it loops. Qt's
// class is not exported, so it cannot be reused piecemeal; this one gives the same role, states,
// names, text, selection and editing through the box's public functions, and takes its
// characters, words and sentences from text_items.h.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
  public:
    explicit LineEditAccessible(QLineEdit* edit);

    QString text(QAccessible::Text kind) const override;
    void setText(QAccessible::Text kind, const QString& text) override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

  private:
    using ItemSearch = TextSpan(const QString&, int, QAccessible::TextBoundaryType);

    QLineEdit* edit() const;
    QString itemText(ItemSearch* search, int offset, QAccessible::TextBoundaryType boundary,
                     int* startOffset, int* endOffset) const;
    // The text a tool may read: none while the box hides what is typed.
    QString readableText() const;
};
