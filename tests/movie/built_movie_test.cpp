// Parses the movie the build placed in Template/ and checks its structure: header, length, stage,
// every tag well formed, characters defined before use, the scripts' actions, the End tag.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "action_checks.h"
#include "action_runner.h"
#include "banner_script.h"
#include "swf_reader.h"
#include "temp_folder.h"

using namespace swf_reader;

namespace {

constexpr std::int32_t kTwips = 20;
constexpr int kOutlineCopies = 4;

struct Placement {
    std::uint16_t depth, id;
    std::int32_t dx = 0, dy = 0;
};

struct TextField {
    Rect bounds;
    std::uint8_t flags, moreFlags;
    std::uint16_t fontId, height;
    std::string rgba;
};

TextField ReadTextField(std::string_view tag) {
    Bytes body(tag);
    body.U16();
    TextField field{};
    field.bounds = ReadRect(body);
    field.flags = body.U8();
    field.moreFlags = body.U8();
    EXPECT_FALSE(field.flags & 0x80) << "no text of its own";
    EXPECT_TRUE(field.flags & 0x01) << "has font";
    EXPECT_TRUE(field.flags & 0x04) << "has text colour";
    EXPECT_FALSE(field.moreFlags & 0x02) << "plain text, not HTML";
    field.fontId = body.U16();
    field.height = body.U16();
    field.rgba = std::string(body.Take(4));
    body.String();  // variable name
    EXPECT_EQ(body.left(), 0u);
    return field;
}

// A DefineShape of one solid fill and straight edges only; checks the outline is closed.
struct Shape {
    Rect bounds;
    std::string rgb;
    int edges;
};

Shape ReadShape(std::string_view tag) {
    Bytes shape(tag);
    shape.U16();
    Shape read{ReadRect(shape), {}, 0};
    EXPECT_EQ(shape.U8(), 1) << "one fill style";
    EXPECT_EQ(shape.U8(), 0) << "solid fill";
    read.rgb = std::string(shape.Take(3));
    EXPECT_EQ(shape.U8(), 0) << "no line styles";
    Bits bits(shape);
    const int fillBits = static_cast<int>(bits.Unsigned(4));
    const int lineBits = static_cast<int>(bits.Unsigned(4));
    std::int32_t x = 0, y = 0, startX = 0, startY = 0;
    for (;;) {
        if (bits.Unsigned(1) == 0) {  // style change or end
            const std::uint32_t states = bits.Unsigned(5);
            if (states == 0) break;
            EXPECT_EQ(states & 0x10, 0u) << "no new styles";
            if (states & 0x01) {
                const int n = static_cast<int>(bits.Unsigned(5));
                startX = x = bits.Signed(n);
                startY = y = bits.Signed(n);
            }
            if (states & 0x02) bits.Unsigned(fillBits);
            if (states & 0x04) bits.Unsigned(fillBits);
            if (states & 0x08) bits.Unsigned(lineBits);
        } else {
            EXPECT_EQ(bits.Unsigned(1), 1u) << "straight edges only";
            const int n = static_cast<int>(bits.Unsigned(4)) + 2;
            if (bits.Unsigned(1) == 1) {
                x += bits.Signed(n);
                y += bits.Signed(n);
            } else if (bits.Unsigned(1) == 1) {
                y += bits.Signed(n);
            } else {
                x += bits.Signed(n);
            }
            ++read.edges;
            EXPECT_TRUE(x >= read.bounds.xMin && x <= read.bounds.xMax && y >= read.bounds.yMin &&
                        y <= read.bounds.yMax);
        }
    }
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(startX, startY)) << "outline not closed";
    EXPECT_EQ(shape.left(), 0u);
    return read;
}

// Relative luminance of an sRGB colour, 0 to 1, coarse: enough to tell light from dark.
double Lightness(std::string_view rgb) {
    return (0.2126 * static_cast<std::uint8_t>(rgb[0]) +
            0.7152 * static_cast<std::uint8_t>(rgb[1]) +
            0.0722 * static_cast<std::uint8_t>(rgb[2])) /
           255.0;
}
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
    kFileAttributes = 69,
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
    // The tag that defines a character.
    Tag Definition(std::uint16_t id) const {
        for (const Tag& tag : movie_.tags) {
            if (tag.code != kDefineShape && tag.code != kDefineButton2 &&
                tag.code != kDefineEditText && tag.code != kDefineSprite &&
                tag.code != kDefineFont2) {
                continue;
            }
            if (Bytes(tag.body).U16() == id) return tag;
        }
        ADD_FAILURE() << "no character " << id;
        return {};
    }
    // Every PlaceObject2 of the main timeline (or of a sprite's), by instance name: a character
    // and a name, and a move at most.
    std::map<std::string, Placement> Placements() const { return PlacementsIn(movie_.tags); }
    std::map<std::string, Placement> SpritePlacements(std::uint16_t spriteId) const {
        const Tag sprite = Definition(spriteId);
        EXPECT_EQ(sprite.code, kDefineSprite);
        Bytes body(sprite.body);
        body.Skip(4);  // id, frame count
        std::vector<Tag> inner;
        EXPECT_NO_THROW(inner = ReadTags(body));
        return PlacementsIn(inner);
    }
    static std::map<std::string, Placement> PlacementsIn(const std::vector<Tag>& tags) {
        std::map<std::string, Placement> placed;
        for (const Tag& tag : tags) {
            if (tag.code != kPlaceObject2) continue;
            Bytes body(tag.body);
            const std::uint8_t flags = body.U8();
            EXPECT_TRUE(flags == 0x22 || flags == 0x26) << "character, name and maybe a matrix";
            Placement placement{};
            placement.depth = body.U16();
            placement.id = body.U16();
            if (flags & 0x04) {
                Bits bits(body);
                EXPECT_EQ(bits.Unsigned(2), 0u) << "no scale, no rotation";
                const int n = static_cast<int>(bits.Unsigned(5));
                placement.dx = bits.Signed(n);
                placement.dy = bits.Signed(n);
            }
            placed[body.String()] = placement;
            EXPECT_EQ(body.left(), 0u);
        }
        return placed;
    }
    // The frame script's actions and its constant pool.
    struct Script {
        std::vector<Action> actions;
        std::vector<std::string> pool;
    };
    Script FrameScript() const {
        const auto scripts = TagsWithCode(kDoAction);
        EXPECT_EQ(scripts.size(), 1u);
        Script script{ReadActions(scripts.at(0).body), {}};
        EXPECT_EQ(script.actions.front().code, 0x88);
        Bytes pool(script.actions.front().operands);
        for (std::uint16_t count = pool.U16(); count > 0; --count) {
            script.pool.push_back(pool.String());
        }
        return script;
    }
    std::string file_;
    Movie movie_{};
};

TEST_F(BuiltMovie, HeaderDescribesTheFileAndA468By100Stage) {
    EXPECT_EQ(movie_.signature, "FWS");
    EXPECT_EQ(movie_.version, 8) << "BitmapData reads the picture";
    EXPECT_EQ(movie_.fileLength, file_.size());
    EXPECT_EQ(movie_.stage.xMin, 0);
    EXPECT_EQ(movie_.stage.xMax, 468 * kTwips);
    EXPECT_EQ(movie_.stage.yMin, 0);
    EXPECT_EQ(movie_.stage.yMax, 100 * kTwips);
    EXPECT_GT(movie_.frameRate, 0.0);
    EXPECT_EQ(movie_.frameCount, 1);
    EXPECT_LT(file_.size(), 10u * 1024u) << "the movie should stay a few kilobytes";
}

TEST_F(BuiltMovie, OneBlackFrameThatDefinesEveryCharacterBeforePlacingIt) {
    ASSERT_GE(movie_.tags.size(), 4u);
    // FileAttributes opens a movie of version 8 or later: no ActionScript 3, and no network
    // access asked for when it is played from a disk, where it reads the files beside it.
    EXPECT_EQ(movie_.tags[0].code, kFileAttributes);
    EXPECT_EQ(movie_.tags[0].body, std::string_view("\0\0\0\0", 4));
    EXPECT_EQ(movie_.tags[1].code, kSetBackgroundColor);
    EXPECT_EQ(movie_.tags[1].body, std::string_view("\0\0\0", 3));
    EXPECT_EQ(movie_.tags.back().code, kEnd);
    EXPECT_EQ(movie_.tags[movie_.tags.size() - 2].code, kShowFrame);
    EXPECT_EQ(TagsWithCode(kShowFrame).size(), 1u);

    std::set<std::uint16_t> defined;
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
            case kPlaceObject2:
                body.U8();
                body.U16();
                EXPECT_TRUE(defined.count(body.U16())) << "placed before it is defined";
                break;
            default:
                break;
        }
    }
    // Bottom to top: the picture, the text's three layers (the lines above the line being typed,
    // that line's finished words, the word being typed), the caret over the text (a glow round the
    // letters would cover it), the click area over everything; the fields that lay text out are
    // never shown.
    const auto placed = Placements();
    ASSERT_EQ(placed.size(), 9u);
    const auto depth = [&](const char* name) { return placed.at(name).depth; };
    EXPECT_LT(depth("backdrop"), depth("earlierLines"));
    EXPECT_LT(depth("earlierLines"), depth("lastLine"));
    EXPECT_LT(depth("lastLine"), depth("lastWord"));
    EXPECT_LT(depth("lastWord"), depth("caret"));
    EXPECT_LT(depth("caret"), depth("clickArea"));
    for (const char* hidden : {"messageField", "lineField", "measureField"}) {
        EXPECT_LT(depth(hidden), depth("clickArea"));
    }
    // One sprite, unmoved: the script moves the last line down its rows and its last word along it.
    for (const char* layer : {"lastLine", "lastWord"}) {
        EXPECT_EQ(placed.at("earlierLines").id, placed.at(layer).id);
    }
    for (const char* layer : {"earlierLines", "lastLine", "lastWord"}) {
        EXPECT_EQ(std::make_pair(placed.at(layer).dx, placed.at(layer).dy), std::make_pair(0, 0));
    }
}

TEST_F(BuiltMovie, WhiteDeviceTextWrapsWithinTheStageOverADarkOutlineOfFourCopies) {
    const auto fonts = TagsWithCode(kDefineFont2);
    ASSERT_EQ(fonts.size(), 1u);
    Bytes font(fonts[0].body);
    const std::uint16_t fontId = font.U16();
    font.Skip(2);  // flags, language
    EXPECT_EQ(font.Take(font.U8()), "_sans");
    EXPECT_EQ(font.U16(), 0) << "a device font carries no glyphs";
    EXPECT_EQ(font.left(), 0u);

    const auto placed = Placements();
    const TextField text = ReadTextField(Definition(placed.at("messageField").id).body);
    EXPECT_GE(text.bounds.xMin, 0);
    EXPECT_LE(text.bounds.xMax, movie_.stage.xMax);
    EXPECT_GE(text.bounds.yMin, 0);
    EXPECT_LE(text.bounds.yMax, movie_.stage.yMax);
    EXPECT_TRUE(text.flags & 0x40) << "word wrap";
    EXPECT_TRUE(text.flags & 0x20) << "multiline";
    EXPECT_EQ(text.fontId, fontId);
    EXPECT_GT(text.height, 10 * kTwips) << "font height";
    EXPECT_EQ(text.rgba, "\xFF\xFF\xFF\xFF");

    // The message is fitted by its box, and the line being typed breaks as it would in it. The
    // text shown breaks only where the script puts line breaks, in boxes sized to it, over an
    // outline of dark copies of it, each moved a pixel or two, evenly all round.
    EXPECT_FALSE(text.moreFlags & 0x40) << "the message field keeps its box";
    EXPECT_EQ(placed.at("lineField").id, placed.at("messageField").id);
    const auto layer = SpritePlacements(placed.at("lastLine").id);
    ASSERT_EQ(layer.size(), 1u + kOutlineCopies);
    const Placement& lettersPlace = layer.at("letters");
    EXPECT_EQ(std::make_pair(lettersPlace.dx, lettersPlace.dy), std::make_pair(0, 0));
    const TextField letters = ReadTextField(Definition(lettersPlace.id).body);
    EXPECT_EQ(
        std::make_tuple(letters.bounds.xMin, letters.bounds.yMin, letters.fontId, letters.height,
                        letters.rgba),
        std::make_tuple(text.bounds.xMin, text.bounds.yMin, text.fontId, text.height, text.rgba));
    EXPECT_EQ(letters.flags & 0x60, 0x20) << "multiline, not wrapped";
    EXPECT_TRUE(letters.moreFlags & 0x40) << "sized to its text";
    std::set<std::pair<std::int32_t, std::int32_t>> moves;
    std::int32_t sumX = 0, sumY = 0;
    for (int i = 1; i <= kOutlineCopies; ++i) {
        SCOPED_TRACE("outline" + std::to_string(i));
        const Placement& copy = layer.at("outline" + std::to_string(i));
        EXPECT_LT(copy.depth, lettersPlace.depth) << "under the letters";
        const TextField outline = ReadTextField(Definition(copy.id).body);
        EXPECT_EQ(std::make_tuple(outline.bounds.xMin, outline.bounds.xMax, outline.bounds.yMin,
                                  outline.bounds.yMax, outline.flags, outline.moreFlags,
                                  outline.fontId, outline.height),
                  std::make_tuple(letters.bounds.xMin, letters.bounds.xMax, letters.bounds.yMin,
                                  letters.bounds.yMax, letters.flags, letters.moreFlags,
                                  letters.fontId, letters.height))
            << "laid out as the letters";
        EXPECT_LT(Lightness(outline.rgba), 0.2);
        EXPECT_EQ(outline.rgba[3], '\xFF') << "opaque";
        EXPECT_TRUE(copy.dx != 0 || copy.dy != 0);
        EXPECT_LE(std::max(std::abs(copy.dx), std::abs(copy.dy)), 2 * kTwips);
        moves.emplace(copy.dx, copy.dy);
        sumX += copy.dx;
        sumY += copy.dy;
    }
    EXPECT_EQ(moves.size(), static_cast<std::size_t>(kOutlineCopies))
        << "each copy moved its own way";
    EXPECT_EQ(std::make_pair(sumX, sumY), std::make_pair(0, 0)) << "the outline is even all round";

    // The caret's place is measured in one unwrapped line of the same font and size.
    const TextField measure = ReadTextField(Definition(placed.at("measureField").id).body);
    EXPECT_FALSE(measure.flags & 0x60) << "no wrapping, one line";
    EXPECT_EQ(std::make_pair(measure.fontId, measure.height), std::make_pair(fontId, text.height));
    EXPECT_GE(measure.bounds.xMax - measure.bounds.xMin, text.bounds.xMax - text.bounds.xMin)
        << "room for the widest line";
}

TEST_F(BuiltMovie, CaretIsAThinLightBarOverADarkRimAsTallAsALine) {
    const auto placed = Placements();
    const Placement& caret = placed.at("caret");
    EXPECT_EQ(std::make_pair(caret.dx, caret.dy), std::make_pair(0, 0)) << "the script moves it";
    Bytes sprite(Definition(caret.id).body);
    ASSERT_EQ(Definition(caret.id).code, kDefineSprite);
    sprite.U16();
    EXPECT_EQ(sprite.U16(), 1) << "frame count";
    std::vector<Tag> inner;
    ASSERT_NO_THROW(inner = ReadTags(sprite));
    EXPECT_EQ(sprite.left(), 0u);
    ASSERT_EQ(inner.size(), 4u);
    std::vector<Shape> shapes;  // bottom first
    for (std::size_t i = 0; i < 2; ++i) {
        ASSERT_EQ(inner[i].code, kPlaceObject2);
        Bytes place(inner[i].body);
        EXPECT_EQ(place.U8(), 0x02) << "a character, nothing else";
        EXPECT_EQ(place.U16(), i + 1) << "depth";
        const Tag shape = Definition(place.U16());
        ASSERT_EQ(shape.code, kDefineShape);
        shapes.push_back(ReadShape(shape.body));
    }
    EXPECT_EQ(inner[2].code, kShowFrame);
    EXPECT_EQ(inner[3].code, kEnd);

    const Shape& rim = shapes[0];
    const Shape& bar = shapes[1];
    EXPECT_EQ(bar.rgb, "\xFF\xFF\xFF") << "the text's colour";
    EXPECT_LT(Lightness(rim.rgb), 0.2);
    EXPECT_LE(bar.bounds.xMax - bar.bounds.xMin, 3 * kTwips) << "thin";
    const TextField text = ReadTextField(Definition(placed.at("messageField").id).body);
    EXPECT_GE(bar.bounds.yMax - bar.bounds.yMin, text.height) << "as tall as a line";
    EXPECT_LE(bar.bounds.yMax - bar.bounds.yMin, text.height * 3 / 2);
    for (const auto& [inside, outside] :
         {std::pair{bar.bounds.xMin, rim.bounds.xMin}, std::pair{bar.bounds.yMin, rim.bounds.yMin},
          std::pair{rim.bounds.xMax, bar.bounds.xMax},
          std::pair{rim.bounds.yMax, bar.bounds.yMax}}) {
        EXPECT_GE(inside - outside, kTwips) << "the rim shows all round the bar";
    }
}

TEST_F(BuiltMovie, ClickAreaIsAClosedFullStageShapeWithAReleaseAction) {
    const auto buttons = TagsWithCode(kDefineButton2);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(Bytes(buttons[0].body).U16(), Placements().at("clickArea").id);
    Bytes button(buttons[0].body);
    button.U16();
    button.U8();
    const std::size_t offsetField = button.at();
    const std::uint16_t actionOffset = button.U16();
    int records = 0;
    for (std::uint8_t states = button.U8(); states != 0; states = button.U8()) {
        EXPECT_EQ(states, 0x08) << "the shape only in the hit-test state: invisible";
        const Tag shape = Definition(button.U16());
        ASSERT_EQ(shape.code, kDefineShape);
        const Shape area = ReadShape(shape.body);
        EXPECT_EQ(std::make_pair(area.bounds.xMax, area.bounds.yMax),
                  std::make_pair(movie_.stage.xMax, movie_.stage.yMax));
        EXPECT_EQ(area.edges, 4);
        button.U16();    // depth
        button.Skip(2);  // identity MATRIX and empty CXFORMWITHALPHA, one byte each
        ++records;
    }
    EXPECT_EQ(records, 1);
    EXPECT_EQ(offsetField + actionOffset, button.at()) << "ActionOffset";
    EXPECT_EQ(button.U16(), 0) << "one condition, the last";
    EXPECT_EQ(button.U16(), 0x0008) << "on release over the button";
    const std::string_view actions = buttons[0].body.substr(button.at());
    ExpectWellFormedActions(actions, "click script");
}

TEST_F(BuiltMovie, FrameScriptDrivesEveryShownInstanceAndTheBackdropClipIsEmpty) {
    ExpectWellFormedActions(TagsWithCode(kDoAction).at(0).body, "frame script");
    // Each instance the script drives is named in its pool: a copy of the text it never sets
    // would show a stale outline.
    const auto script = FrameScript();
    const std::set<std::string> pool(script.pool.begin(), script.pool.end());
    auto names = Placements();
    names.merge(SpritePlacements(names.at("lastLine").id));
    for (const auto& [name, placement] : names) {
        if (name != "clickArea") {
            EXPECT_TRUE(pool.count(name)) << name;
        }
    }

    Bytes sprite(Definition(Placements().at("backdrop").id).body);
    sprite.U16();
    EXPECT_EQ(sprite.U16(), 1) << "frame count";
    std::vector<Tag> inner;
    ASSERT_NO_THROW(inner = ReadTags(sprite));
    EXPECT_EQ(sprite.left(), 0u);
    ASSERT_EQ(inner.size(), 2u);
    EXPECT_EQ(inner[0].code, kShowFrame);
    EXPECT_EQ(inner[1].code, kEnd);
}

// A call by a misspelt name, or to a function since removed, does nothing in the player, and
// says nothing: every function the script calls must be its own or the player's, and each of its
// own must be used (called, or handed to the player as a handler).
TEST_F(BuiltMovie, FrameScriptCallsOnlyFunctionsItDefinesOrThePlayerHas) {
    const auto script = FrameScript();
    std::set<std::string> defined, called;
    for (std::size_t i = 1; i < script.actions.size(); ++i) {
        const Action& action = script.actions[i];
        if (action.code == 0x9B) defined.insert(Bytes(action.operands).String());
        if (action.code != 0x3D) continue;  // CallFunction: its name was pushed last
        ASSERT_EQ(script.actions[i - 1].code, 0x96) << "CallFunction at " << action.offset;
        const auto pushed = PushedValues(script.actions[i - 1].operands);
        const auto name = std::get_if<PoolIndex>(&pushed.back());
        ASSERT_NE(name, nullptr) << "CallFunction at " << action.offset;
        called.insert(script.pool.at(name->index));
    }
    const std::set<std::string> player{"setInterval", "clearInterval", "createEmptyMovieClip",
                                       "updateAfterEvent"};
    for (const std::string& name : called) {
        EXPECT_TRUE(defined.count(name) || player.count(name))
            << name << " is called, never defined";
    }
    const std::set<std::string> pool(script.pool.begin(), script.pool.end());
    for (const std::string& name : defined)
        EXPECT_TRUE(pool.count(name)) << name << " is never used";
    // A message of nothing but these is passed over, and four in a row put the banner at rest.
    EXPECT_TRUE(called.count("isBlank") && called.count("rest"));
    // The movie's frames are few: a change drawn only at the next frame would come late.
    EXPECT_TRUE(called.count("updateAfterEvent"));
    EXPECT_TRUE(pool.count(" \t\r\n")) << "the characters of a blank message";
}

// Short messages keep the fields' own size; longer ones step down the ladder the script holds.
TEST_F(BuiltMovie, TextSizesStepDownFromTheFieldsOwnSizeToALegibleFloor) {
    const auto& sizes = bannermovie::kTextSizes;
    EXPECT_TRUE(std::is_sorted(sizes.rbegin(), sizes.rend()) &&
                std::adjacent_find(sizes.begin(), sizes.end()) == sizes.end())
        << "largest first, each once";
    EXPECT_GE(sizes.back(), 12) << "the floor";
    const auto placed = Placements();
    const auto layer = SpritePlacements(placed.at("lastLine").id);
    for (const auto& [field, id] : {std::pair{"messageField", placed.at("messageField").id},
                                    std::pair{"outline1", layer.at("outline1").id},
                                    std::pair{"measureField", placed.at("measureField").id}}) {
        EXPECT_EQ(ReadTextField(Definition(id).body).height, sizes.front() * kTwips) << field;
    }
    // The script's ladder: an array of numbers only, pushed last first, then their count.
    const auto script = FrameScript();
    std::vector<std::int32_t> ladder;
    for (std::size_t i = 1; i < script.actions.size(); ++i) {
        if (script.actions[i].code != 0x42 || script.actions[i - 1].code != 0x96) continue;
        const auto values = PushedValues(script.actions[i - 1].operands);
        const auto* count = std::get_if<std::int32_t>(&values.back());
        if (count == nullptr || static_cast<std::size_t>(*count) >= values.size()) continue;
        std::vector<std::int32_t> numbers;
        for (std::size_t k = 2; k <= static_cast<std::size_t>(*count) + 1; ++k) {
            const auto* size = std::get_if<std::int32_t>(&values[values.size() - k]);
            if (size != nullptr) numbers.push_back(*size);
        }
        if (numbers.size() == static_cast<std::size_t>(*count)) ladder = numbers;
    }
    EXPECT_EQ(ladder, std::vector<std::int32_t>(sizes.begin(), sizes.end()));
}

// A finished message stays as long as its letters on the banner take to read at 20 a second, and
// at least 2 seconds; after scrolling, the letters on the banner are its share of the lines. A
// player that does not report the field's scroll lines still holds the whole message.
TEST_F(BuiltMovie, HoldLastsAsLongAsReadingTheLettersOnTheBannerTakes) {
    const auto script = FrameScript();
    const Object whole{{{"scroll", 1.0}, {"bottomScroll", 3.0}, {"maxscroll", 1.0}}};
    const Object scrolled{{{"scroll", 3.0}, {"bottomScroll", 5.0}, {"maxscroll", 3.0}}};  // 3 of 5
    const Object unmeasured{};
    const Object noBottom{{{"scroll", 1.0}, {"maxscroll", 1.0}}};
    const Object letters224{{{"length", 224.0}}};
    const Object letters10{{{"length", 10.0}}};
    const Object math;
    const struct {
        const Object* field;
        const Object* message;
        double hold;
    } rows[] = {
        {&whole, &letters224, 11200},      {&scrolled, &letters224, 6720},
        {&unmeasured, &letters224, 11200}, {&noBottom, &letters224, 11200},
        {&whole, &letters10, 2000},        {&unmeasured, &letters10, 2000},
    };
    for (const auto& row : rows) {
        const Value hold =
            RunFunction(script.actions, script.pool, "holdTime",
                        {{"messageField", row.field}, {"message", row.message}, {"Math", &math}});
        EXPECT_DOUBLE_EQ(ToNumber(hold), row.hold) << row.field->members.size();
    }
}

}  // namespace
