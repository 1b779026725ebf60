#include "banner_movie.h"

#include "banner_script.h"
#include "swf_file.h"
#include "swf_tags.h"

namespace bannermovie {
namespace {

// SWF 7: LoadVars, setInterval and System.useCodepage, with case-sensitive names.
constexpr std::uint8_t kSwfVersion = 7;
constexpr std::uint8_t kFramesPerSecond = 24;
constexpr std::int32_t kStageWidth = 468 * kTwipsPerPixel;
constexpr std::int32_t kStageHeight = 100 * kTwipsPerPixel;
constexpr std::int32_t kTextMargin = 8 * kTwipsPerPixel;
constexpr std::uint16_t kTextHeight = 20 * kTwipsPerPixel;

constexpr Rgb kBlack{0x00, 0x00, 0x00};
constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};

// Character ids.
constexpr std::uint16_t kFontId = 1;
constexpr std::uint16_t kMessageFieldId = 2;
constexpr std::uint16_t kBackdropId = 3;
constexpr std::uint16_t kHitAreaId = 4;
constexpr std::uint16_t kClickButtonId = 5;

// Depths, bottom to top: the picture, the text, the click area.
constexpr std::uint16_t kBackdropDepth = 1;
constexpr std::uint16_t kMessageFieldDepth = 2;
constexpr std::uint16_t kClickButtonDepth = 3;

}  // namespace

std::string BuildBannerMovie() {
    const Rect stage{0, kStageWidth, 0, kStageHeight};
    SwfFile movie(kSwfVersion, stage, kFramesPerSecond, 1);

    movie.AddTag(TagCode::SetBackgroundColor, SetBackgroundColor(kBlack));
    movie.AddTag(TagCode::DefineFont2, DefineDeviceFont(kFontId, "_sans"));
    const Rect textArea{kTextMargin, kStageWidth - kTextMargin, kTextMargin / 2,
                        kStageHeight - kTextMargin / 2};
    movie.AddTag(
        TagCode::DefineEditText,
        DefineWrappingTextField(kMessageFieldId, textArea,
                                {.fontId = kFontId, .heightTwips = kTextHeight, .color = kWhite}));
    movie.AddTag(TagCode::DefineSprite, DefineEmptySprite(kBackdropId));
    movie.AddTag(TagCode::DefineShape, DefineFilledRectangle(kHitAreaId, stage, kBlack));
    movie.AddTag(TagCode::DefineButton2,
                 DefineInvisibleButton(kClickButtonId, kHitAreaId, BuildClickScript()));

    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kBackdropDepth, kBackdropId, kBackdropName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kMessageFieldDepth, kMessageFieldId, kMessageFieldName));
    movie.AddTag(TagCode::PlaceObject2,
                 PlaceNamedObject(kClickButtonDepth, kClickButtonId, "clickArea"));
    movie.AddTag(TagCode::DoAction, BuildFrameScript());
    movie.AddTag(TagCode::ShowFrame, {});
    return movie.Finish();
}

}  // namespace bannermovie
