#include "utf8.h"

#include <gtest/gtest.h>

using quillbeam::FromUtf8;
using quillbeam::ToUtf8;

// Both sides of every length's limit, of the surrogates and of the last plane; and a pair at
// each end of the range of pairs.
TEST(Utf8, RoundTripsEachSideOfEveryLimit) {
    const struct {
        std::u16string text;
        std::string utf8;
    } rows[] = {
        // clang-format off
        {u"a\u00E9\u20AC\u4E2D\U0001F600", "a\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD\xF0\x9F\x98\x80"},
        {std::u16string(1, u'\0'), std::string(1, '\0')},
        {u"\u007F", "\x7F"},             {u"\u0080", "\xC2\x80"},
        {u"\u07FF", "\xDF\xBF"},         {u"\u0800", "\xE0\xA0\x80"},
        {u"\uD7FF", "\xED\x9F\xBF"},     {u"\uE000", "\xEE\x80\x80"},
        {u"\uFFFF", "\xEF\xBF\xBF"},     {u"\U00010000", "\xF0\x90\x80\x80"},
        // The pairs D800 DFFF and DBFF DC00.
        {u"\U000103FF", "\xF0\x90\x8F\xBF"}, {u"\U0010FC00", "\xF4\x8F\xB0\x80"},
        {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
        // clang-format on
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ToUtf8(row.text), row.utf8);
        EXPECT_EQ(FromUtf8(row.utf8), row.text) << row.utf8;
    }
}

// A surrogate without its other half, at each edge of both halves and at either end of the text,
// becomes U+FFFD and leaves what follows alone.
TEST(Utf8, ReplacesALoneSurrogate) {
    const std::string replaced = "\xEF\xBF\xBD";
    const struct {
        std::u16string text;
        std::string utf8;
    } rows[] = {
        {{u'a', 0xD800}, "a" + replaced},
        {{0xDBFF, u'b'}, replaced + "b"},
        {{0xDC00, 0xD800}, replaced + replaced},
        {{u'a', 0xDFFF}, "a" + replaced},
        {{0xD83D, u'b', 0xDE00}, replaced + "b" + replaced},
        {{0xD800, 0xD800, 0xDC00}, replaced + "\xF0\x90\x80\x80"},
    };
    for (const auto& row : rows) EXPECT_EQ(ToUtf8(row.text), row.utf8);
    // A text that ends inside a pair ends there, whatever follows it in memory.
    const std::u16string pair = u"\U00010000";
    EXPECT_EQ(ToUtf8(std::u16string_view(pair).substr(0, 1)), replaced);
}

// Each byte that cannot start or continue a sequence becomes one U+FFFD, and decoding goes on at
// the next byte: stray and missing continuations, overlong forms (the longest of each length),
// encoded surrogates, values past U+10FFFF and bytes no sequence starts with.
TEST(Utf8, ReplacesEachByteOfWhatIsNotWellFormed) {
    const struct {
        std::string utf8;
        std::u16string text;
    } rows[] = {
        // clang-format off
        {"\x80x", u"\uFFFDx"}, {"\xBF", u"\uFFFD"}, {"\xFF", u"\uFFFD"},
        {"\xC0\x80", u"\uFFFD\uFFFD"}, {"\xC1\xBF", u"\uFFFD\uFFFD"},
        {"\xC2\x7F", u"\uFFFD\u007F"}, {"\xC2\xC0", u"\uFFFD\uFFFD"}, {"\xC2", u"\uFFFD"},
        {"\xE2\x82", u"\uFFFD\uFFFD"}, {"\xE0\x9F\xBF", u"\uFFFD\uFFFD\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, {"\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD"},
        {"\xF0\x90\x80", u"\uFFFD\uFFFD\uFFFD"}, {"\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xF8\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        // clang-format on
    };
    for (const auto& row : rows) EXPECT_EQ(FromUtf8(row.utf8), row.text) << row.utf8;
    EXPECT_EQ(FromUtf8(std::string_view("\xC2\x80", 1)), u"\uFFFD") << "a text cut in a sequence";
}
