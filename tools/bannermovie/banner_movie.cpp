#include "banner_movie.h"

#include <array>

#include "banner_script.h"
#include "swf_file.h"
#include "swf_tags.h"

namespace bannermovie {
namespace {

// SWF 8: LoadVars, setInterval, System.useCodepage and case-sensitive names from SWF 7, and
// BitmapData to read the picture under the text.
constexpr std::uint8_t kSwfVersion = 8;
constexpr std::uint8_t kFramesPerSecond = 24;
constexpr std::int32_t kStageRight = kStageWidth * kTwipsPerPixel;
constexpr std::int32_t kStageBottom = kStageHeight * kTwipsPerPixel;
constexpr std::int32_t kTextMargin = 8 * kTwipsPerPixel;
// The largest size of the ladder; the script sets the others.
constexpr std::uint16_t kTextHeight = kTextSizes.front() * kTwipsPerPixel;

constexpr Rgb InkColor(std::uint32_t ink) {
    return {static_cast<std::uint8_t>(ink >> 16), static_cast<std::uint8_t>(ink >> 8),
            static_cast<std::uint8_t>(ink)};
}
constexpr Rgb kBlack{0x00, 0x00, 0x00};
constexpr Rgb kWhite = InkColor(kLightInk);

// The halo that keeps the letters legible on any picture: copies of the text in the halo's
// colour under the letters, moved a pixel diagonally each way. Copies of a text field need no
// filters, so every player of the version draws them. Strokes are two pixels wide, so the four
// diagonal moves already cover every pixel touching a letter; eight would cost twice the
// drawing for a halo that looks the same. The script swaps letters and halo over light pictures.
constexpr Rgb kOutlineColor = InkColor(kDarkInk);
constexpr std::int32_t kOutlineTwips = 1 * kTwipsPerPixel;
constexpr std::array<std::array<std::int32_t, 2>, kOutlineCopyCount> kOutlineDirections{
    {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}}};

// The caret: a thin white bar over a dark one as much wider as the outline.
constexpr std::int32_t kCaretWidth = 2 * kTwipsPerPixel;
constexpr std::int32_t kCaretTop = 6 * kTwipsPerPixel;      // from the ascenders
constexpr std::int32_t kCaretBottom = 28 * kTwipsPerPixel;  // to the descenders

// Character ids.
constexpr std::uint16_t kFontId = 1;
constexpr std::uint16_t kMessageFieldId = 2;
constexpr std::uint16_t kBackdropId = 3;
constexpr std::uint16_t kHitAreaId = 4;
constexpr std::uint16_t kClickButtonId = 5;
constexpr std::uint16_t kOutlineFieldId = 6;
constexpr std::uint16_t kMeasureFieldId = 7;
constexpr std::uint16_t kCaretRimId = 8;
constexpr std::uint16_t kCaretBarId = 9;
constexpr std::uint16_t kCaretId = 10;

// Depths, bottom to top: the picture, the text's outline, the caret, the text, the measuring
// field (never shown), the click area.
constexpr std::uint16_t kBackdropDepth = 1;
constexpr std::uint16_t kFirstOutlineDepth = 2;
constexpr std::uint16_t kCaretDepth = kFirstOutlineDepth + kOutlineCopyCount;
constexpr std::uint16_t kMessageFieldDepth = kCaretDepth + 1;
constexpr std::uint16_t kMeasureFieldDepth = kMessageFieldDepth + 1;
constexpr std::uint16_t kClickButtonDepth = kMeasureFieldDepth + 1;

}  // namespace

std::string BuildBannerMovie() {
    const Rect stage{0, kStageRight, 0, kStageBottom};
    SwfFile movie(kSwfVersion, stage, kFramesPerSecond, 1);

    movie.AddTag(TagCode::FileAttributes, FileAttributes());
    movie.AddTag(TagCode::SetBackgroundColor, SetBackgroundColor(kBlack));
    movie.AddTag(TagCode::DefineFont2, DefineDeviceFont(kFontId, "_sans"));
    const Rect textArea{kTextMargin, kStageRight - kTextMargin, kTextMargin / 2,
                        kStageBottom - kTextMargin / 2};
    const EditTextStyle white{.fontId = kFontId, .heightTwips = kTextHeight, .color = kWhite};
    EditTextStyle dark = white;
    dark.color = kOutlineColor;
    movie.AddTag(TagCode::DefineEditText,
                 DefineWrappingTextField(kMessageFieldId, textArea, white));
    movie.AddTag(TagCode::DefineEditText, DefineWrappingTextField(kOutlineFieldId, textArea, dark));
    // As wide as the stage and one line high: the width of a line of the text is measured in it.
    movie.AddTag(TagCode::DefineEditText,
                 DefineSingleLineTextField(kMeasureFieldId,
                                           Rect{0, kStageRight, 0, kTextHeight * 2}, white));
    const Rect bar{0, kCaretWidth, kCaretTop, kCaretBottom};
    const Rect rim{bar.xMin - kOutlineTwips, bar.xMax + kOutlineTwips, bar.yMin - kOutlineTwips,
                   bar.yMax + kOutlineTwips};
    movie.AddTag(TagCode::DefineShape, DefineFilledRectangle(kCaretRimId, rim, kOutlineColor));
    movie.AddTag(TagCode::DefineShape, DefineFilledRectangle(kCaretBarId, bar, kWhite));
    movie.AddTag(TagCode::DefineSprite, DefineSpriteOfShapes(kCaretId, {kCaretRimId, kCaretBarId}));
    movie.AddTag(TagCode::DefineSprite, DefineEmptySprite(kBackdropId));
    movie.AddTag(TagCode::DefineShape, DefineFilledRectangle(kHitAreaId, stage, kBlack));
    movie.AddTag(TagCode::DefineButton2,
                 DefineInvisibleButton(kClickButtonId, kHitAreaId, BuildClickScript()));

    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kBackdropDepth, kBackdropId, kBackdropName));
    for (std::uint16_t i = 0; i < kOutlineCopyCount; ++i) {
        movie.AddTag(
            TagCode::PlaceObject2,
            PlaceNamedObjectAt(static_cast<std::uint16_t>(kFirstOutlineDepth + i), kOutlineFieldId,
                               OutlineCopyName(i), kOutlineDirections.at(i)[0] * kOutlineTwips,
                               kOutlineDirections.at(i)[1] * kOutlineTwips));
    }
    movie.AddTag(TagCode::PlaceObject2, PlaceNamedObject(kCaretDepth, kCaretId, kCaretName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kMessageFieldDepth, kMessageFieldId, kMessageFieldName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kMeasureFieldDepth, kMeasureFieldId, kMeasureFieldName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kClickButtonDepth, kClickButtonId, "clickArea"));
    movie.AddTag(TagCode::DoAction, BuildFrameScript({.left = textArea.xMin / kTwipsPerPixel,
                                                      .top = textArea.yMin / kTwipsPerPixel,
                                                      .right = textArea.xMax / kTwipsPerPixel,
                                                      .bottom = textArea.yMax / kTwipsPerPixel}));
    movie.AddTag(TagCode::ShowFrame, {});
    return movie.Finish();
}

}  // namespace bannermovie
