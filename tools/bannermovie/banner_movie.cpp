#include "banner_movie.h"

#include <array>
#include <string>
#include <vector>

#include "banner_script.h"
#include "swf_file.h"
#include "swf_tags.h"

namespace bannermovie {
namespace {

// SWF 8: LoadVars, setInterval, System.useCodepage and case-sensitive names from SWF 7, and
// BitmapData to read the picture under the text.
constexpr std::uint8_t kSwfVersion = 8;
// The player draws the whole stage at every frame, changed or not. The script asks for a drawing
// at each change it makes (a letter, the caret's blink), so the movie's own frames only let the
// player take in a loaded picture: one a second is enough, and the banner costs least.
constexpr std::uint8_t kFramesPerSecond = 1;
constexpr std::int32_t kStageRight = kStageWidth * kTwipsPerPixel;
constexpr std::int32_t kStageBottom = kStageHeight * kTwipsPerPixel;
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
// filters, so every player of the version draws them; where the player draws filters, the script
// hides them and gives each text layer a glow instead. Strokes are two pixels wide, so the four
// diagonal moves already cover every pixel touching a letter; eight would cost twice the
// drawing for a halo that looks the same. The script swaps letters and halo over light pictures.
constexpr Rgb kOutlineColor = InkColor(kDarkInk);
constexpr std::int32_t kOutlineTwips = 1 * kTwipsPerPixel;
constexpr std::array<std::array<std::int32_t, 2>, kOutlineCopyCount> kOutlineDirections{
    {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}}};

// The caret: a thin white bar over a dark one as much wider as the outline.
constexpr std::int32_t kCaretWidth = 2 * kTwipsPerPixel;
constexpr std::int32_t kCaretTopTwips = kCaretTop * kTwipsPerPixel;
constexpr std::int32_t kCaretBottomTwips = kCaretBottom * kTwipsPerPixel;

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
constexpr std::uint16_t kLayerFieldId = 11;
constexpr std::uint16_t kTextLayerId = 12;

// Depths, bottom to top: the picture, the text (the lines above the one being typed, that line's
// finished words, the word being typed), the caret (over the text, so that a glow round the letters
// does not cover it), the fields that only lay text out (never shown), the click area. In a text
// layer, the outline copies lie under the letters.
constexpr std::uint16_t kBackdropDepth = 1;
constexpr std::uint16_t kEarlierLinesDepth = 2;
constexpr std::uint16_t kLastLineDepth = 3;
constexpr std::uint16_t kLastWordDepth = 4;
constexpr std::uint16_t kCaretDepth = 5;
constexpr std::uint16_t kMessageFieldDepth = 6;
constexpr std::uint16_t kLineFieldDepth = 7;
constexpr std::uint16_t kMeasureFieldDepth = 8;
constexpr std::uint16_t kClickButtonDepth = 9;
constexpr std::uint16_t kLettersDepth = kOutlineCopyCount + 1;

}  // namespace

std::string BuildBannerMovie() {
    const Rect stage{0, kStageRight, 0, kStageBottom};
    SwfFile movie(kSwfVersion, stage, kFramesPerSecond, 1);

    movie.AddTag(TagCode::FileAttributes, FileAttributes());
    movie.AddTag(TagCode::SetBackgroundColor, SetBackgroundColor(kBlack));
    movie.AddTag(TagCode::DefineFont2, DefineDeviceFont(kFontId, "_sans"));
    const Rect textArea{kTextArea.left * kTwipsPerPixel, kTextArea.right * kTwipsPerPixel,
                        kTextArea.top * kTwipsPerPixel, kTextArea.bottom * kTwipsPerPixel};
    const EditTextStyle white{.fontId = kFontId, .heightTwips = kTextHeight, .color = kWhite};
    EditTextStyle dark = white;
    dark.color = kOutlineColor;
    movie.AddTag(TagCode::DefineEditText,
                 DefineWrappingTextField(kMessageFieldId, textArea, white));
    // The text shown is given its lines by the script, as the message field breaks them, in
    // boxes only as wide and high as they are: a player that keeps a layer's pixels keeps and
    // draws no more of them.
    EditTextStyle shownWhite = white;
    shownWhite.fitsText = true;
    EditTextStyle shownDark = dark;
    shownDark.fitsText = true;
    movie.AddTag(TagCode::DefineEditText,
                 DefineUnwrappedTextField(kLayerFieldId, textArea, shownWhite));
    movie.AddTag(TagCode::DefineEditText,
                 DefineUnwrappedTextField(kOutlineFieldId, textArea, shownDark));
    // As wide as the stage and one line high: the width of a line of the text is measured in it.
    movie.AddTag(TagCode::DefineEditText,
                 DefineSingleLineTextField(kMeasureFieldId,
                                           Rect{0, kStageRight, 0, kTextHeight * 2}, white));
    const Rect bar{0, kCaretWidth, kCaretTopTwips, kCaretBottomTwips};
    const Rect rim{bar.xMin - kOutlineTwips, bar.xMax + kOutlineTwips, bar.yMin - kOutlineTwips,
                   bar.yMax + kOutlineTwips};
    movie.AddTag(TagCode::DefineShape, DefineFilledRectangle(kCaretRimId, rim, kOutlineColor));
    movie.AddTag(TagCode::DefineShape, DefineFilledRectangle(kCaretBarId, bar, kWhite));
    movie.AddTag(TagCode::DefineSprite, DefineSpriteOfShapes(kCaretId, {kCaretRimId, kCaretBarId}));
    movie.AddTag(TagCode::DefineSprite, DefineEmptySprite(kBackdropId));
    movie.AddTag(TagCode::DefineShape, DefineFilledRectangle(kHitAreaId, stage, kBlack));
    movie.AddTag(TagCode::DefineButton2,
                 DefineInvisibleButton(kClickButtonId, kHitAreaId, BuildClickScript()));

    std::vector<std::string> layer;
    for (std::uint16_t i = 0; i < kOutlineCopyCount; ++i) {
        layer.push_back(PlaceNamedObjectAt(static_cast<std::uint16_t>(i + 1), kOutlineFieldId,
                                           OutlineCopyName(i),
                                           kOutlineDirections.at(i)[0] * kOutlineTwips,
                                           kOutlineDirections.at(i)[1] * kOutlineTwips));
    }
    layer.push_back(PlaceNamedObject(kLettersDepth, kLayerFieldId, kLettersName));
    movie.AddTag(TagCode::DefineSprite, DefineSpriteOfPlacements(kTextLayerId, layer));

    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kBackdropDepth, kBackdropId, kBackdropName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kEarlierLinesDepth, kTextLayerId, kEarlierLinesName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kLastLineDepth, kTextLayerId, kLastLineName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kLastWordDepth, kTextLayerId, kLastWordName));
    movie.AddTag(TagCode::PlaceObject2, PlaceNamedObject(kCaretDepth, kCaretId, kCaretName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kMessageFieldDepth, kMessageFieldId, kMessageFieldName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kLineFieldDepth, kMessageFieldId, kLineFieldName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kMeasureFieldDepth, kMeasureFieldId, kMeasureFieldName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kClickButtonDepth, kClickButtonId, "clickArea"));
    movie.AddTag(TagCode::DoAction, BuildFrameScript(kTextArea));
    movie.AddTag(TagCode::ShowFrame, {});
    return movie.Finish();
}

}  // namespace bannermovie
