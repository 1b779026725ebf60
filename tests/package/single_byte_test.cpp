#include "single_byte.h"

#include <gtest/gtest.h>

#include <optional>

#include "reference_code_page.h"

using quillbeam::FromSingleByte;
using quillbeam::ToSingleByte;

namespace {

// The five bytes Windows-1252 leaves undefined; we map each to the C1 control of its value.
bool Undefined(unsigned value) {
    return value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
}

}  // namespace

TEST(SingleByte, EveryByteMeansWhatTheReferenceSaysAndRoundTrips) {
    const ReferenceCodePage reference;
    ASSERT_TRUE(reference.valid()) << "the system has no Windows-1252 converter";
    for (unsigned value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        EXPECT_EQ(FromSingleByte(byte),
                  Undefined(value) ? char16_t(value) : reference.Decode(byte).value_or(0))
            << "byte " << value;
        const std::u16string text(1, FromSingleByte(byte));
        const std::string encoded = ToSingleByte(text);
        ASSERT_EQ(encoded.size(), 1u);
        EXPECT_EQ(static_cast<unsigned char>(encoded[0]), byte) << "byte " << value;
    }
}

TEST(SingleByte, KnowsTheTypographicCharactersAboveLatin1) {
    EXPECT_EQ(ToSingleByte(u"\u201Cspeed\u201D"), "\x93speed\x94");
    EXPECT_EQ(ToSingleByte(u"\u20AC \u2026 \u0160 \u2122 \u0178"), "\x80 \x85 \x8A \x99 \x9F");
    EXPECT_EQ(ToSingleByte(u"caf\u00E9 \u00FC\u00DF"), "caf\xE9 \xFC\xDF");
}

TEST(SingleByte, GivesOneByteForEveryUnitItCannotRepresent) {
    // U+0080 has no place in the code page (its byte is the euro sign); nor do letters beyond it.
    EXPECT_EQ(ToSingleByte(u"\u0080\u0100\u4E2D\u2603"), "????");
    // Each half of a surrogate pair is one unit and so one byte, paired or alone.
    EXPECT_EQ(ToSingleByte(u"a\U0001F600b"), "a??b");
    const char16_t loneHalves[] = {u'x', 0xD800, u'y', 0xDFFF, 0};
    EXPECT_EQ(ToSingleByte(loneHalves), "x?y?");
}

TEST(SingleByte, EncodesEveryUnitAloneAndInLongRunsAsTheReferenceDoes) {
    // Long runs go through the block-wise fast path, single units through the table: both must
    // agree with the system's converter for all 65536 units, but for the five C1 controls it lacks.
    const ReferenceCodePage reference;
    ASSERT_TRUE(reference.valid()) << "the system has no Windows-1252 converter";
    std::u16string everyUnit;
    for (unsigned unit = 0; unit < 0x10000; ++unit)
        everyUnit.push_back(static_cast<char16_t>(unit));
    const std::string encoded = ToSingleByte(everyUnit);
    ASSERT_EQ(encoded.size(), everyUnit.size());
    std::size_t mapped = 0;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char16_t unit = everyUnit[i];
        const bool surrogate = unit >= 0xD800 && unit <= 0xDFFF;  // half a character: no reference
        const std::optional<unsigned char> expected =
            Undefined(unit) ? std::optional<unsigned char>(static_cast<unsigned char>(unit))
            : surrogate     ? std::nullopt
                            : reference.Encode(unit);
        ASSERT_EQ(encoded[i], static_cast<char>(expected.value_or('?'))) << "unit " << i;
        mapped += expected.has_value();
        ASSERT_EQ(ToSingleByte(std::u16string(1, unit)), encoded.substr(i, 1));
    }
    EXPECT_EQ(mapped, 256u) << "exactly the 256 characters of the code page have a byte";

    // Plain text with one character needing the table at every position of a block.
    for (std::size_t at = 0; at < 40; ++at) {
        std::u16string text(40, u'\u00E9');
        text[at] = u'\u20AC';
        std::string expected(40, '\xE9');
        expected[at] = '\x80';
        EXPECT_EQ(ToSingleByte(text), expected) << at;
    }
}

TEST(SingleByte, AppendKeepsWhatIsThere) {
    std::string out = "head:";
    quillbeam::AppendSingleByte(out, u"\u00E9t\u00E9");
    quillbeam::AppendSingleByte(out, u"");
    EXPECT_EQ(out, "head:\xE9t\xE9");
}
