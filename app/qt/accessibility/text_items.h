#pragma once

#include <QAccessible>
#include <QString>

// Where an item of text begins and where it ends (one past its last unit), in UTF-16 units;
// {-1, -1} when there is no such item.
struct TextSpan {
    int start = -1;
    int end = -1;
};

// The characters, words, sentences and the line of a one-line text, for assistive tools. Words
// and sentences run between the places where one starts or ends, as Qt counts them in its text
// boxes, so the space between two words is an item of its own. Every search moves one way over
// the text and stops at its end.

// The item that holds `offset`. At the end of the text a word or sentence is the last one and a
// character is the empty span there, so that start <= offset <= end always holds.
TextSpan TextItemAt(const QString& text, int offset, QAccessible::TextBoundaryType boundary);
// The last item that ends at or before `offset`, as Qt answers it.
TextSpan TextItemBefore(const QString& text, int offset, QAccessible::TextBoundaryType boundary);
// The item after the one TextItemAt gives: the first that starts after `offset`.
TextSpan TextItemAfter(const QString& text, int offset, QAccessible::TextBoundaryType boundary);
