#include "swf_tags.h"

#include <algorithm>

#include "byte_writer.h"

namespace bannermovie {
namespace {

// DefineFont2 flags.
constexpr std::uint8_t kFontWideCodes = 0x04;
constexpr std::uint8_t kLanguageLatin = 1;

// DefineEditText flags, first byte then second.
constexpr std::uint8_t kEditWordWrap = 0x40;
constexpr std::uint8_t kEditMultiline = 0x20;
constexpr std::uint8_t kEditReadOnly = 0x08;
constexpr std::uint8_t kEditHasTextColor = 0x04;
constexpr std::uint8_t kEditHasFont = 0x01;
constexpr std::uint8_t kEditNoSelect = 0x10;
constexpr std::uint8_t kEditAutoSize = 0x40;

// DefineShape: fill style type and shape record fields.
constexpr std::uint8_t kSolidFill = 0x00;

// DefineButton2: which states a character shows in, and the release condition.
constexpr std::uint8_t kButtonStateHitTest = 0x08;
constexpr std::uint16_t kConditionOverDownToOverUp = 0x0008;

// PlaceObject2 flags.
constexpr std::uint8_t kPlaceHasName = 0x20;
constexpr std::uint8_t kPlaceHasMatrix = 0x04;
constexpr std::uint8_t kPlaceHasCharacter = 0x02;

// MATRIX with no scale, no rotation and no translation; CXFORMWITHALPHA with no terms. Each is
// a bit field that fits in one zero byte.
constexpr std::uint8_t kIdentityMatrix = 0x00;
constexpr std::uint8_t kNoColorTransform = 0x00;

}  // namespace

std::string FileAttributes() {
    ByteWriter out;
    out.U32(0);  // no flags
    return out.bytes();
}

std::string SetBackgroundColor(Rgb color) {
    ByteWriter out;
    out.U8(color.red);
    out.U8(color.green);
    out.U8(color.blue);
    return out.bytes();
}

std::string DefineDeviceFont(std::uint16_t fontId, std::string_view name) {
    ByteWriter out;
    out.U16(fontId);
    out.U8(kFontWideCodes);
    out.U8(kLanguageLatin);
    out.U8(static_cast<std::uint8_t>(name.size()));
    out.Bytes(name);
    out.U16(0);  // NumGlyphs: no offset, code or layout tables follow
    return out.bytes();
}

namespace {

std::string DefineTextField(std::uint16_t fieldId, Rect bounds, const EditTextStyle& style,
                            std::uint8_t layoutFlags) {
    ByteWriter out;
    out.U16(fieldId);
    out.Bytes(EncodeRect(bounds));
    out.U8(layoutFlags | kEditReadOnly | kEditHasTextColor | kEditHasFont);
    out.U8(kEditNoSelect | (style.fitsText ? kEditAutoSize : 0));
    out.U16(style.fontId);
    out.U16(style.heightTwips);
    out.U8(style.color.red);
    out.U8(style.color.green);
    out.U8(style.color.blue);
    out.U8(style.alpha);
    out.String("");  // VariableName: none
    return out.bytes();
}

}  // namespace

std::string DefineWrappingTextField(std::uint16_t fieldId, Rect bounds,
                                    const EditTextStyle& style) {
    return DefineTextField(fieldId, bounds, style, kEditWordWrap | kEditMultiline);
}

std::string DefineUnwrappedTextField(std::uint16_t fieldId, Rect bounds,
                                     const EditTextStyle& style) {
    return DefineTextField(fieldId, bounds, style, kEditMultiline);
}

std::string DefineSingleLineTextField(std::uint16_t fieldId, Rect bounds,
                                      const EditTextStyle& style) {
    return DefineTextField(fieldId, bounds, style, 0);
}

std::string DefineEmptySprite(std::uint16_t spriteId) {
    return DefineSpriteOfShapes(spriteId, {});
}

std::string DefineSpriteOfShapes(std::uint16_t spriteId,
                                 std::initializer_list<std::uint16_t> shapeIds) {
    ByteWriter out;
    out.U16(spriteId);
    out.U16(1);  // FrameCount
    std::uint16_t depth = 1;
    for (const std::uint16_t shapeId : shapeIds) {
        ByteWriter place;
        place.U8(kPlaceHasCharacter);
        place.U16(depth++);
        place.U16(shapeId);
        out.Bytes(EncodeTag(TagCode::PlaceObject2, place.bytes()));
    }
    out.Bytes(EncodeTag(TagCode::ShowFrame, {}));
    out.Bytes(EncodeTag(TagCode::End, {}));
    return out.bytes();
}

std::string DefineSpriteOfPlacements(std::uint16_t spriteId,
                                     const std::vector<std::string>& placements) {
    ByteWriter out;
    out.U16(spriteId);
    out.U16(1);  // FrameCount
    for (const std::string& place : placements) {
        out.Bytes(EncodeTag(TagCode::PlaceObject2, place));
    }
    out.Bytes(EncodeTag(TagCode::ShowFrame, {}));
    out.Bytes(EncodeTag(TagCode::End, {}));
    return out.bytes();
}

std::string DefineFilledRectangle(std::uint16_t shapeId, Rect rect, Rgb fill) {
    ByteWriter out;
    out.U16(shapeId);
    out.Bytes(EncodeRect(rect));
    out.U8(1);  // one fill style
    out.U8(kSolidFill);
    out.U8(fill.red);
    out.U8(fill.green);
    out.U8(fill.blue);
    out.U8(0);  // no line styles

    BitWriter records;
    records.Unsigned(1, 4);  // NumFillBits
    records.Unsigned(0, 4);  // NumLineBits
    // StyleChangeRecord: move to the top-left corner and take fill style 1 on the left side.
    const int moveBits =
        std::max(BitWriter::SignedBitsFor(rect.xMin), BitWriter::SignedBitsFor(rect.yMin));
    records.Flag(false);           // TypeFlag: not an edge
    records.Unsigned(0b00011, 5);  // StateFillStyle0, StateMoveTo
    records.Unsigned(static_cast<std::uint32_t>(moveBits), 5);
    records.Signed(rect.xMin, moveBits);
    records.Signed(rect.yMin, moveBits);
    records.Unsigned(1, 1);  // FillStyle0
    // Four StraightEdgeRecords round the rectangle, each a horizontal or vertical line.
    const std::int32_t width = rect.xMax - rect.xMin;
    const std::int32_t height = rect.yMax - rect.yMin;
    const int edgeBits =
        std::max({BitWriter::SignedBitsFor(width), BitWriter::SignedBitsFor(-width),
                  BitWriter::SignedBitsFor(height), BitWriter::SignedBitsFor(-height), 2});
    auto edge = [&](bool vertical, std::int32_t delta) {
        records.Flag(true);  // TypeFlag: edge
        records.Flag(true);  // StraightFlag
        records.Unsigned(static_cast<std::uint32_t>(edgeBits - 2), 4);
        records.Flag(false);  // GeneralLineFlag: axis-aligned
        records.Flag(vertical);
        records.Signed(delta, edgeBits);
    };
    edge(false, width);
    edge(true, height);
    edge(false, -width);
    edge(true, -height);
    records.Flag(false);     // EndShapeRecord: TypeFlag 0 ...
    records.Unsigned(0, 5);  // ... and no state changes
    out.Bytes(records.Finish());
    return out.bytes();
}

std::string DefineInvisibleButton(std::uint16_t buttonId, std::uint16_t shapeId,
                                  std::string_view releaseActions) {
    ByteWriter out;
    out.U16(buttonId);
    out.U8(0);  // not tracked as a menu
    const std::size_t actionOffsetField = out.size();
    out.U16(0);
    // The one button record: the shape, in the hit-test state only.
    out.U8(kButtonStateHitTest);
    out.U16(shapeId);
    out.U16(1);  // PlaceDepth
    out.U8(kIdentityMatrix);
    out.U8(kNoColorTransform);
    out.U8(0);  // CharacterEndFlag
    out.PatchU16(actionOffsetField, static_cast<std::uint16_t>(out.size() - actionOffsetField));
    // The one BUTTONCONDACTION, which is also the last (size 0).
    out.U16(0);
    out.U16(kConditionOverDownToOverUp);
    out.Bytes(releaseActions);
    return out.bytes();
}

std::string PlaceNamedObject(std::uint16_t depth, std::uint16_t characterId,
                             std::string_view instanceName) {
    ByteWriter out;
    out.U8(kPlaceHasName | kPlaceHasCharacter);
    out.U16(depth);
    out.U16(characterId);
    out.String(instanceName);
    return out.bytes();
}

std::string PlaceNamedObjectAt(std::uint16_t depth, std::uint16_t characterId,
                               std::string_view instanceName, std::int32_t dx, std::int32_t dy) {
    ByteWriter out;
    out.U8(kPlaceHasName | kPlaceHasMatrix | kPlaceHasCharacter);
    out.U16(depth);
    out.U16(characterId);
    // MATRIX: no scale, no rotation, then the translation in as many bits as it needs.
    const int bits = std::max(BitWriter::SignedBitsFor(dx), BitWriter::SignedBitsFor(dy));
    BitWriter matrix;
    matrix.Flag(false);  // HasScale
    matrix.Flag(false);  // HasRotate
    matrix.Unsigned(static_cast<std::uint32_t>(bits), 5);
    matrix.Signed(dx, bits);
    matrix.Signed(dy, bits);
    out.Bytes(matrix.Finish());
    out.String(instanceName);
    return out.bytes();
}

}  // namespace bannermovie
