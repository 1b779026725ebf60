#include "utf8.h"

#include <gtest/gtest.h>

using quillbeam::FromUtf8;
using quillbeam::ToUtf8;

TEST(Utf8, RoundTripsEveryPlane) {
    const std::u16string text = u"a\u00E9\u20AC\u4E2D\U0001F600\U0010FFFF";
    EXPECT_EQ(ToUtf8(text), "a\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

TEST(Utf8, ReplacesWhatIsNotWellFormed) {
    const char16_t lone[] = {u'a', 0xD83D, u'b', 0xDE00, 0};
    EXPECT_EQ(ToUtf8(lone),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    // A stray continuation byte, a truncated sequence, overlong forms (the longest of each
    // length), an encoded surrogate and a value past U+10FFFF.
    EXPECT_EQ(FromUtf8("\x80x"), u"\uFFFDx");
    EXPECT_EQ(FromUtf8("\xE2\x82"), u"\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xC1\xBF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xE0\x9F\xBF"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xF0\x8F\xBF\xBF"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
}
