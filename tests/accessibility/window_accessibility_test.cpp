#include <QAccessible>
#include <QtTest>
#include <array>
#include <optional>

#include "accessible_interfaces.h"
#include "qt_main_window.h"
#include "text_items.h"
#include "wait_guard.h"

namespace {

// Words and sentences first: at the end of a text they were the calls that never returned.
constexpr QAccessible::TextBoundaryType kBoundaries[] = {
    QAccessible::WordBoundary,      QAccessible::SentenceBoundary, QAccessible::CharBoundary,
    QAccessible::ParagraphBoundary, QAccessible::LineBoundary,     QAccessible::NoBoundary,
};

enum class Query { At, Before, After };

QString Ask(const QAccessibleTextInterface& text, Query query, int offset,
            QAccessible::TextBoundaryType boundary, int* start, int* end) {
    switch (query) {
        case Query::At:
            return text.textAtOffset(offset, boundary, start, end);
        case Query::Before:
            return text.textBeforeOffset(offset, boundary, start, end);
        case Query::After:
            return text.textAfterOffset(offset, boundary, start, end);
    }
    return {};
}

}  // namespace

class WindowAccessibilityTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { InstallAccessibleInterfaces(); }
    void init() {
        window_.emplace();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window_, kWaitGuardMs));
    }
    void cleanup() { window_.reset(); }

    // Every text query a screen reader can make, at every offset of every box, comes back, with a
    // span inside the text; at an offset inside the text the span holds it. A query that never
    // returns ends the run at QtTest's own time limit for a test function, naming the box.
    void textQueriesReturnSpansInsideTheText_data() {
        QTest::addColumn<int>("index");
        for (const quillbeam::layout::Control& control : quillbeam::layout::kControls) {
            if (!control.takesFocus() || control.kind == quillbeam::layout::Kind::Button) continue;
            QTest::newRow(control.name.data())
                << static_cast<int>(quillbeam::layout::IndexOf(control));
        }
    }
    void textQueriesReturnSpansInsideTheText() {
        QFETCH(int, index);
        const auto& control = quillbeam::layout::kControls.at(static_cast<std::size_t>(index));
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(&window_->controls()[control]);
        QVERIFY(accessible && accessible->textInterface());
        const QAccessibleTextInterface& text = *accessible->textInterface();
        for (const QString content : {"Text6", "Two words ", "“Café” à 5 € – déjà vu.", ""}) {
            window_->controls().SetText(control, content);
            const int length = text.characterCount();
            QCOMPARE(text.text(0, length), content);
            for (Query query : {Query::At, Query::Before, Query::After}) {
                for (QAccessible::TextBoundaryType boundary : kBoundaries) {
                    for (int offset = 0; offset <= length + 1; ++offset) {
                        int start = -2;
                        int end = -2;
                        const QString item = Ask(text, query, offset, boundary, &start, &end);
                        const bool none = start == -1 && end == -1 && item.isEmpty();
                        const bool inside = 0 <= start && start <= end && end <= length &&
                                            item == content.mid(start, end - start);
                        const bool holdsOffset = start <= offset && offset <= end;
                        const bool mustHold = query == Query::At && offset <= length;
                        QVERIFY2(mustHold ? inside && holdsOffset : none || inside,
                                 qPrintable(QStringLiteral("\"%1\" query %2 boundary %3 offset "
                                                           "%4 gave %5..%6 \"%7\"")
                                                .arg(content)
                                                .arg(static_cast<int>(query))
                                                .arg(boundary)
                                                .arg(offset)
                                                .arg(start)
                                                .arg(end)
                                                .arg(item)));
                    }
                }
            }
        }
    }

    void itemsAtOffsets_data() {
        QTest::addColumn<int>("place");  // 0 at, 1 before, 2 after
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("boundary");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        const int word = QAccessible::WordBoundary;
        const int sentence = QAccessible::SentenceBoundary;
        const int character = QAccessible::CharBoundary;
        QTest::newRow("word in the middle") << 0 << "one two" << 5 << word << 4 << 7;
        QTest::newRow("space between words") << 0 << "one two" << 3 << word << 3 << 4;
        QTest::newRow("last word at the end") << 0 << "one two" << 7 << word << 4 << 7;
        QTest::newRow("trailing space at the end") << 0 << "one " << 4 << word << 3 << 4;
        QTest::newRow("word with an apostrophe") << 0 << "Zoë's" << 5 << word << 0 << 5;
        QTest::newRow("leading slash") << 0 << "/root" << 0 << word << 0 << 1;
        QTest::newRow("last sentence at the end") << 0 << "Hi. Yes." << 8 << sentence << 4 << 8;
        QTest::newRow("character at the end") << 0 << "ab" << 2 << character << 2 << 2;
        QTest::newRow("empty text") << 0 << "" << 0 << word << 0 << 0;
        QTest::newRow("past the end") << 0 << "ab" << 3 << word << -1 << -1;
        QTest::newRow("word before") << 1 << "one two" << 5 << word << 3 << 4;
        QTest::newRow("nothing before the first word") << 1 << "one two" << 1 << word << -1 << -1;
        QTest::newRow("word after") << 2 << "one two" << 1 << word << 3 << 4;
        QTest::newRow("nothing after the end") << 2 << "one two" << 7 << word << -1 << -1;
    }
    void itemsAtOffsets() {
        QFETCH(int, place);
        QFETCH(QString, text);
        QFETCH(int, offset);
        QFETCH(int, boundary);
        QFETCH(int, start);
        QFETCH(int, end);
        const auto search = std::array{TextItemAt, TextItemBefore, TextItemAfter}.at(
            static_cast<std::size_t>(place));
        const TextSpan found =
            search(text, offset, static_cast<QAccessible::TextBoundaryType>(boundary));
        QCOMPARE(found.start, start);
        QCOMPARE(found.end, end);
    }

    // Each box is labelled by its caption, which keeps its text and gains no shortcut key. (The
    // bus check sees the relations, roles, names and link actions as a screen reader does.)
    void captionsLabelTheirBoxes() {
        for (const quillbeam::layout::Control& caption : quillbeam::layout::kControls) {
            if (!caption.captionOf) continue;
            auto* label = &window_->controls().As<QLabel>(caption);
            QWidget* box = &window_->controls()[*caption.captionOf];
            QCOMPARE(label->buddy(), box);
            QVERIFY(QKeySequence::mnemonic(label->text()).isEmpty());
            const auto relations =
                QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label);
            QCOMPARE(relations.size(), 1);
            QCOMPARE(relations.first().first->object(), label);
        }
    }

  private:
    std::optional<Quillbeam> window_;
};

QTEST_MAIN(WindowAccessibilityTest)
#include "window_accessibility_test.moc"
