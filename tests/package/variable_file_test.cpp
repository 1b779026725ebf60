#include "variable_file.h"

#include <gtest/gtest.h>

#include "expected_package.h"

using quillbeam::BuildVariableFileText;

namespace {

const std::string kHead =
    "&loaded=yes&\r\n"
    "//Please do not edit this line.\r\n"
    "&speed=50&\r\n"
    "&theUrl=";
const std::string kAfterUrl =
    "&\r\n"
    "//The variable \x93speed\x94 is actually the interval time in ms.\r\n"
    "//Therefore the greater \x93speed\x94 is, the slower the typing speed will be.\r\n"
    "&txt=";

}  // namespace

TEST(VariableFile, WorkedExampleMatchesByteForByte) {
    const std::string text = BuildVariableFileText(u"Hi", u"offers/index.html");
    EXPECT_EQ(text, kHead + "offers/index.html" + kAfterUrl + "Hi");
    ASSERT_EQ(text.size(), 229u);
    EXPECT_EQ(static_cast<unsigned char>(text[0x66]), 0x93);
    EXPECT_EQ(text.substr(0x67, 6), "speed\x94");
    EXPECT_TRUE(text.ends_with("&txt=Hi")) << "nothing follows the message";
}

TEST(VariableFile, EmptyInputsGiveTheFixedBytesAlone) {
    const std::string text = BuildVariableFileText(u"", u"");
    EXPECT_EQ(text, kHead + kAfterUrl);
    EXPECT_NE(text.find("&theUrl=&\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("&txt=")) << text;
}

TEST(VariableFile, LengthIsFixedBytesPlusUnitsOfUrlAndMessage) {
    struct Case {
        std::u16string message;
        std::u16string url;
    };
    const Case cases[] = {
        {u"Hello", u"http://example.com/"},
        {u"smile \U0001F600", u"x"},  // the emoji is two units, so two bytes
        {u"\u4E2D\u6587", u""},
        {std::u16string(5000, u'z'), std::u16string(300, u'/')},
    };
    const std::size_t fixed = VariableFileFixedLength();
    for (const Case& c : cases) {
        EXPECT_EQ(BuildVariableFileText(c.message, c.url).size(),
                  fixed + c.message.size() + c.url.size());
    }
    EXPECT_EQ(BuildVariableFileText(u"\U0001F600", u"").substr(fixed), "??");
}

TEST(VariableFile, MessageAndUrlAreWrittenVerbatim) {
    // Line breaks stay as they came: CR LF pairs, and the lone CR or LF of pasted text.
    const std::size_t fixed = VariableFileFixedLength();
    EXPECT_EQ(BuildVariableFileText(u"first\r\nsecond", u"u").substr(fixed + 1), "first\r\nsecond");
    EXPECT_EQ(BuildVariableFileText(u"a\rb\nc", u"").substr(fixed), "a\rb\nc");
    // A message ending in a line break gives a file ending in one.
    const std::string text2 = BuildVariableFileText(u"Text2\r\n", u"Text6");
    EXPECT_TRUE(text2.ends_with("&txt=Text2\r\n")) << text2;

    // No escaping of the characters the movie's parser treats specially.
    const std::string query =
        BuildVariableFileText(u"50% & more + less = fun", u"shop.php?a=1&b=%20+c");
    EXPECT_NE(query.find("&theUrl=shop.php?a=1&b=%20+c&\r\n"), std::string::npos);
    EXPECT_TRUE(query.ends_with("&txt=50% & more + less = fun")) << query;
}

TEST(VariableFile, FilesOfOnePackageDifferOnlyInTheMessage) {
    const std::u16string url = u"http://example.com/";
    const std::string one = BuildVariableFileText(u"one", url);
    const std::string two = BuildVariableFileText(u"two", url);
    ASSERT_EQ(one.size(), two.size());
    const std::size_t beforeMessage = VariableFileFixedLength() + url.size();
    EXPECT_EQ(one.substr(0, beforeMessage), two.substr(0, beforeMessage));
}
