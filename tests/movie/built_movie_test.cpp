// Parses the movie the build placed in Template/ and checks its structure: header, length, stage,
// every tag well formed, characters defined before use, the scripts' actions, the End tag.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "action_checks.h"
#include "swf_reader.h"
#include "temp_folder.h"

using namespace swf_reader;

namespace {

constexpr std::int32_t kTwips = 20;
enum Code : std::uint16_t {
    kEnd = 0,
    kShowFrame = 1,
    kDefineShape = 2,
    kSetBackgroundColor = 9,
    kDoAction = 12,
    kPlaceObject2 = 26,
    kDefineButton2 = 34,
    kDefineEditText = 37,
    kDefineSprite = 39,
    kDefineFont2 = 48,
};

class BuiltMovie : public ::testing::Test {
  protected:
    void SetUp() override {
        file_ = ReadFileBytes(QUILLBEAM_BUILT_MOVIE);
        ASSERT_NO_THROW(movie_ = ReadMovie(file_));
    }
    std::vector<Tag> TagsWithCode(std::uint16_t code) const {
        std::vector<Tag> found;
        for (const Tag& tag : movie_.tags) {
            if (tag.code == code) found.push_back(tag);
        }
        return found;
    }
    std::string file_;
    Movie movie_{};
};

TEST_F(BuiltMovie, HeaderDescribesTheFileAndA468By100Stage) {
    EXPECT_EQ(movie_.signature, "FWS");
    EXPECT_EQ(movie_.version, 7);
    EXPECT_EQ(movie_.fileLength, file_.size());
    EXPECT_EQ(movie_.stage.xMin, 0);
    EXPECT_EQ(movie_.stage.xMax, 468 * kTwips);
    EXPECT_EQ(movie_.stage.yMin, 0);
    EXPECT_EQ(movie_.stage.yMax, 100 * kTwips);
    EXPECT_GT(movie_.frameRate, 0.0);
    EXPECT_EQ(movie_.frameCount, 1);
    EXPECT_LT(file_.size(), 8u * 1024u) << "the movie should stay a few kilobytes";
}

TEST_F(BuiltMovie, OneBlackFrameThatDefinesEveryCharacterBeforePlacingIt) {
    ASSERT_GE(movie_.tags.size(), 3u);
    EXPECT_EQ(movie_.tags.front().code, kSetBackgroundColor);
    EXPECT_EQ(movie_.tags.front().body, std::string_view("\0\0\0", 3));
    EXPECT_EQ(movie_.tags.back().code, kEnd);
    EXPECT_EQ(movie_.tags[movie_.tags.size() - 2].code, kShowFrame);
    EXPECT_EQ(TagsWithCode(kShowFrame).size(), 1u);

    std::set<std::uint16_t> defined;
    std::map<std::string, std::uint16_t> depthOf;
    for (const Tag& tag : movie_.tags) {
        Bytes body(tag.body);
        switch (tag.code) {
            case kDefineShape:
            case kDefineButton2:
            case kDefineEditText:
            case kDefineSprite:
            case kDefineFont2:
                EXPECT_TRUE(defined.insert(body.U16()).second) << "character defined twice";
                break;
            case kPlaceObject2: {
                const std::uint8_t flags = body.U8();
                ASSERT_EQ(flags, 0x22) << "character and name, nothing else";
                const std::uint16_t depth = body.U16();
                EXPECT_TRUE(defined.count(body.U16())) << "placed before it is defined";
                depthOf[body.String()] = depth;
                EXPECT_EQ(body.left(), 0u);
                break;
            }
            default:
                break;
        }
    }
    // The picture under the text, the click area over everything.
    ASSERT_EQ(depthOf.size(), 3u);
    EXPECT_LT(depthOf.at("backdrop"), depthOf.at("messageField"));
    EXPECT_LT(depthOf.at("messageField"), depthOf.at("clickArea"));
}

TEST_F(BuiltMovie, TextFieldWrapsWhiteDeviceTextWithinTheStage) {
    const auto fonts = TagsWithCode(kDefineFont2);
    ASSERT_EQ(fonts.size(), 1u);
    Bytes font(fonts[0].body);
    const std::uint16_t fontId = font.U16();
    font.Skip(2);  // flags, language
    EXPECT_EQ(font.Take(font.U8()), "_sans");
    EXPECT_EQ(font.U16(), 0) << "a device font carries no glyphs";
    EXPECT_EQ(font.left(), 0u);

    const auto fields = TagsWithCode(kDefineEditText);
    ASSERT_EQ(fields.size(), 1u);
    Bytes field(fields[0].body);
    field.U16();
    const Rect bounds = ReadRect(field);
    EXPECT_GE(bounds.xMin, 0);
    EXPECT_LE(bounds.xMax, movie_.stage.xMax);
    EXPECT_GE(bounds.yMin, 0);
    EXPECT_LE(bounds.yMax, movie_.stage.yMax);
    const std::uint8_t flags = field.U8();
    EXPECT_TRUE(flags & 0x40) << "word wrap";
    EXPECT_TRUE(flags & 0x20) << "multiline";
    EXPECT_FALSE(flags & 0x80) << "no text of its own";
    ASSERT_TRUE(flags & 0x01) << "has font";
    ASSERT_TRUE(flags & 0x04) << "has text colour";
    const std::uint8_t moreFlags = field.U8();
    EXPECT_FALSE(moreFlags & 0x02) << "plain text, not HTML";
    EXPECT_EQ(field.U16(), fontId);
    EXPECT_GT(field.U16(), 10 * kTwips) << "font height";
    EXPECT_EQ(field.Take(4), "\xFF\xFF\xFF\xFF");
    field.String();  // variable name
    EXPECT_EQ(field.left(), 0u);
}

TEST_F(BuiltMovie, ClickAreaIsAClosedFullStageShapeWithAReleaseAction) {
    const auto shapes = TagsWithCode(kDefineShape);
    ASSERT_EQ(shapes.size(), 1u);
    Bytes shape(shapes[0].body);
    const std::uint16_t shapeId = shape.U16();
    const Rect bounds = ReadRect(shape);
    EXPECT_EQ(bounds.xMax, movie_.stage.xMax);
    EXPECT_EQ(bounds.yMax, movie_.stage.yMax);
    const std::uint8_t fills = shape.U8();
    for (std::uint8_t i = 0; i < fills; ++i) {
        ASSERT_EQ(shape.U8(), 0) << "solid fill";
        shape.Skip(3);
    }
    ASSERT_EQ(shape.U8(), 0) << "no line styles";
    {
        Bits bits(shape);
        const int fillBits = static_cast<int>(bits.Unsigned(4));
        const int lineBits = static_cast<int>(bits.Unsigned(4));
        std::int32_t x = 0, y = 0, startX = 0, startY = 0, edges = 0;
        for (;;) {
            if (bits.Unsigned(1) == 0) {  // style change or end
                const std::uint32_t states = bits.Unsigned(5);
                if (states == 0) break;
                ASSERT_EQ(states & 0x10, 0u) << "no new styles";
                if (states & 0x01) {
                    const int n = static_cast<int>(bits.Unsigned(5));
                    startX = x = bits.Signed(n);
                    startY = y = bits.Signed(n);
                }
                if (states & 0x02) bits.Unsigned(fillBits);
                if (states & 0x04) bits.Unsigned(fillBits);
                if (states & 0x08) bits.Unsigned(lineBits);
            } else {
                ASSERT_EQ(bits.Unsigned(1), 1u) << "straight edges only";
                const int n = static_cast<int>(bits.Unsigned(4)) + 2;
                if (bits.Unsigned(1) == 1) {
                    x += bits.Signed(n);
                    y += bits.Signed(n);
                } else if (bits.Unsigned(1) == 1) {
                    y += bits.Signed(n);
                } else {
                    x += bits.Signed(n);
                }
                ++edges;
                EXPECT_TRUE(x >= bounds.xMin && x <= bounds.xMax && y >= bounds.yMin &&
                            y <= bounds.yMax);
            }
        }
        EXPECT_EQ(edges, 4);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(startX, startY)) << "outline not closed";
    }
    EXPECT_EQ(shape.left(), 0u);

    const auto buttons = TagsWithCode(kDefineButton2);
    ASSERT_EQ(buttons.size(), 1u);
    Bytes button(buttons[0].body);
    button.U16();
    button.U8();
    const std::size_t offsetField = button.at();
    const std::uint16_t actionOffset = button.U16();
    for (std::uint8_t states = button.U8(); states != 0; states = button.U8()) {
        EXPECT_EQ(states, 0x08) << "the shape only in the hit-test state: invisible";
        EXPECT_EQ(button.U16(), shapeId);
        button.U16();    // depth
        button.Skip(2);  // identity MATRIX and empty CXFORMWITHALPHA, one byte each
    }
    EXPECT_EQ(offsetField + actionOffset, button.at()) << "ActionOffset";
    EXPECT_EQ(button.U16(), 0) << "one condition, the last";
    EXPECT_EQ(button.U16(), 0x0008) << "on release over the button";
    const std::string_view actions = buttons[0].body.substr(button.at());
    ExpectWellFormedActions(actions, "click script");
}

TEST_F(BuiltMovie, FrameScriptAndTheBackdropClipAreWellFormed) {
    const auto scripts = TagsWithCode(kDoAction);
    ASSERT_EQ(scripts.size(), 1u);
    ExpectWellFormedActions(scripts[0].body, "frame script");

    const auto sprites = TagsWithCode(kDefineSprite);
    ASSERT_EQ(sprites.size(), 1u);
    Bytes sprite(sprites[0].body);
    sprite.U16();
    EXPECT_EQ(sprite.U16(), 1) << "frame count";
    std::vector<Tag> inner;
    ASSERT_NO_THROW(inner = ReadTags(sprite));
    EXPECT_EQ(sprite.left(), 0u);
    ASSERT_EQ(inner.size(), 2u);
    EXPECT_EQ(inner[0].code, kShowFrame);
    EXPECT_EQ(inner[1].code, kEnd);
}

}  // namespace
