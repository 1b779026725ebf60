#include "single_byte.h"

#include <gtest/gtest.h>

#include <optional>

#include "reference_code_page.h"

using quillbeam::FromSingleByte;
using quillbeam::HasSingleByte;
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

// Where the code page lacks a character, the near letter Windows writes, else "?"; always one
// byte per unit, so each half of a surrogate pair is one "?", paired or alone.
TEST(SingleByte, WritesTheNearLetterOrOneQuestionMarkPerUnit) {
    const char16_t loneHalves[] = {u'x', 0xD800, u'y', 0xDFFF, 0};
    const struct {
        std::u16string_view text;
        std::string_view bytes;
    } rows[] = {
        {u"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144 \U0001F600 "
         u"\u041F\u0440\u0438\u0432\u0435\u0442",
         "Zaz\xF3lc gesla jazn ?? ??????"},
        {u"\u0150\u0151 \u015E\u015F \u0130\u0131 \u0111\u0110", "Oo Ss Ii d\xD0"},
        {u"\u2010 \u2212 \u2264 \u221E \u2500\u2502\u253C \u03B2 \u03BC",
         "- - = 8 -\xA6+ \xDF \xB5"},
        {u"\uFF21\uFF42\uFF01\uFF1F\uFF5E \u3000", "Ab!?~  "},
        {u"\u0080\u4E2D\u2603\u0416\uFF00\uFF5F", "??????"},  // U+0080's byte is the euro sign
        {loneHalves, "x?y?"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ToSingleByte(row.text), row.bytes);
        for (const char16_t unit : row.text) {
            const bool questionMark = unit == u'?' || unit == u'\uFF1F';
            EXPECT_EQ(HasSingleByte(unit), questionMark || ToSingleByte({&unit, 1}) != "?")
                << std::hex << unsigned(unit);
        }
    }
}

TEST(SingleByte, EncodesEveryUnitAloneAndInLongRunsAlike) {
    // Long runs go through the block-wise fast path, single units through the table: both must
    // give the byte the system's converter gives every character the code page has (but for the
    // five C1 controls it lacks), and agree with each other on the rest.
    const ReferenceCodePage reference;
    ASSERT_TRUE(reference.valid()) << "the system has no Windows-1252 converter";
    std::u16string everyUnit;
    for (unsigned unit = 0; unit < 0x10000; ++unit)
        everyUnit.push_back(static_cast<char16_t>(unit));
    const std::string encoded = ToSingleByte(everyUnit);
    ASSERT_EQ(encoded.size(), everyUnit.size());
    std::size_t own = 0;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char16_t unit = everyUnit[i];
        const bool surrogate = unit >= 0xD800 && unit <= 0xDFFF;  // half a character: no reference
        const std::optional<unsigned char> expected =
            Undefined(unit) ? std::optional<unsigned char>(static_cast<unsigned char>(unit))
            : surrogate     ? std::nullopt
                            : reference.Encode(unit);
        if (expected) {
            ASSERT_EQ(encoded[i], static_cast<char>(*expected)) << "unit " << i;
        }
        own += expected.has_value();
        ASSERT_EQ(ToSingleByte(std::u16string(1, unit)), encoded.substr(i, 1));
    }
    EXPECT_EQ(own, 256u) << "exactly the 256 characters of the code page have a byte of their own";

    // Plain text with one unit at every position of a block: each side of the fast path's
    // edges (the C1 controls from U+0080 to U+009F, and U+0100 up), and the euro sign.
    for (const char16_t unit :
         {u'\u007F', u'\u0080', u'\u009F', u'\u00A0', u'\u00FF', u'\u0100', u'\u20AC'}) {
        for (std::size_t at = 0; at < 40; ++at) {
            std::u16string text(40, u'\u00E9');
            text[at] = unit;
            std::string expected(40, '\xE9');
            expected[at] = ToSingleByte(std::u16string(1, unit))[0];
            ASSERT_EQ(ToSingleByte(text), expected) << std::hex << unsigned(unit) << " at " << at;
        }
    }
}

TEST(SingleByte, AppendKeepsWhatIsThere) {
    std::string out = "head:";
    quillbeam::AppendSingleByte(out, u"\u00E9t\u00E9");
    quillbeam::AppendSingleByte(out, u"");
    EXPECT_EQ(out, "head:\xE9t\xE9");
}
