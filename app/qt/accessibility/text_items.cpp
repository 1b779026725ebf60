#include "text_items.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

namespace {

bool IsItemEdge(const QTextBoundaryFinder& finder) {
    return (finder.boundaryReasons() &
            (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem)) != 0;
}

// The items of a non-empty text in order. The finder's positions only grow and its -1 ("no
// further boundary") ends the pass.
std::vector<TextSpan> Items(const QString& text, QAccessible::TextBoundaryType boundary) {
    const int length = static_cast<int>(text.size());
    QTextBoundaryFinder::BoundaryType type = QTextBoundaryFinder::Grapheme;
    switch (boundary) {
        case QAccessible::CharBoundary:
            break;
        case QAccessible::WordBoundary:
            type = QTextBoundaryFinder::Word;
            break;
        case QAccessible::SentenceBoundary:
            type = QTextBoundaryFinder::Sentence;
            break;
        case QAccessible::LineBoundary:
        case QAccessible::ParagraphBoundary:
        case QAccessible::NoBoundary:
            return {{0, length}};
    }
    std::vector<TextSpan> items;
    QTextBoundaryFinder finder(type, text);
    int start = 0;
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at < length;
         at = finder.toNextBoundary()) {
        if (!IsItemEdge(finder)) continue;
        items.push_back({start, static_cast<int>(at)});
        start = static_cast<int>(at);
    }
    items.push_back({start, length});
    return items;
}

// A one-line text is one line, paragraph and unbroken stretch.
bool IsWholeLine(QAccessible::TextBoundaryType boundary) {
    return boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary ||
           boundary == QAccessible::NoBoundary;
}

bool Outside(const QString& text, int offset) {
    return offset < 0 || offset > text.size() || text.isEmpty();
}

// The index of the item that holds `offset`; at the end of the text, the last item.
std::size_t Holder(const std::vector<TextSpan>& items, int offset) {
    const auto holder = std::find_if(items.begin(), items.end(),
                                     [offset](const TextSpan& item) { return offset < item.end; });
    return holder == items.end() ? items.size() - 1
                                 : static_cast<std::size_t>(holder - items.begin());
}

bool AtEndOfCharacters(const QString& text, int offset, QAccessible::TextBoundaryType boundary) {
    return boundary == QAccessible::CharBoundary && offset == text.size();
}

}  // namespace

TextSpan TextItemAt(const QString& text, int offset, QAccessible::TextBoundaryType boundary) {
    if (text.isEmpty() && offset == 0) return {0, 0};
    if (Outside(text, offset)) return {};
    if (AtEndOfCharacters(text, offset, boundary)) return {offset, offset};
    const std::vector<TextSpan> items = Items(text, boundary);
    return items[Holder(items, offset)];
}

TextSpan TextItemBefore(const QString& text, int offset, QAccessible::TextBoundaryType boundary) {
    // A one-line text has no line before its line.
    if (Outside(text, offset) || IsWholeLine(boundary)) return {};
    const std::vector<TextSpan> items = Items(text, boundary);
    const auto before = std::find_if(items.rbegin(), items.rend(),
                                     [offset](const TextSpan& item) { return item.end <= offset; });
    return before == items.rend() ? TextSpan{} : *before;
}

TextSpan TextItemAfter(const QString& text, int offset, QAccessible::TextBoundaryType boundary) {
    if (Outside(text, offset) || AtEndOfCharacters(text, offset, boundary)) return {};
    const std::vector<TextSpan> items = Items(text, boundary);
    const std::size_t holder = Holder(items, offset);
    return holder + 1 == items.size() ? TextSpan{} : items[holder + 1];
}
