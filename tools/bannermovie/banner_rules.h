#pragma once

// How the banner behaves, in numbers: the sizes it types at, where the text lies, its caret and
// ink, how long it holds a message and how it judges its picture. The movie's script follows
// these, and the browser player has them generated into it from this header, so that both show
// the same banner.
#include <array>
#include <cstdint>

#include "package_format.h"

namespace bannermovie {

// The stage, in pixels: the picture fills it.
using quillbeam::package_format::kStageHeight;
using quillbeam::package_format::kStageWidth;

// Where the message lies on the stage, in pixels: a margin of 8 at the sides and 4 above and below.
struct TextArea {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};
inline constexpr std::int32_t kTextMargin = 8;
inline constexpr TextArea kTextArea{.left = kTextMargin,
                                    .top = kTextMargin / 2,
                                    .right = kStageWidth - kTextMargin,
                                    .bottom = kStageHeight - kTextMargin / 2};
// Pixels between the text area's edge and its letters.
inline constexpr std::int32_t kTextGutter = 2;

// The font sizes a message may be shown at, in pixels, largest first: each message takes the
// largest at which all of it fits. The top is the fields' own size. Each step down gives the
// lines a tenth or more letters, or the banner a line more: 3 lines at 20 and 18, 4 at 16 and 14,
// 5 at 12. 12 pixels, the floor, is the smallest size commonly held legible on a screen, and its
// letters still keep their small counters (in e, a and s) open inside the one-pixel halo; the
// next size that would gain a line, 10, closes them.
inline constexpr std::array<std::int32_t, 5> kTextSizes{20, 18, 16, 14, 12};
// A line of the movie's device font (_sans), in thousandths of the font size: its ascent and
// descent as Ruffle's built-in font lays text out, which gives the lines per size above. The
// movie leaves line spacing to its player; the browser player spaces its lines so, to show as many
// lines at each size as the movie does.
inline constexpr std::int32_t kLineHeightPerMille = 1362;

// The caret's bar, in pixels down a line at the ladder's top size, from the ascenders to the
// descenders; it scales with the size. It stands solid while letters come, and blinks, on and off
// for this long each (as desktops blink theirs), while a finished message is held.
inline constexpr std::int32_t kCaretTop = kTextSizes.front() * 3 / 10;
inline constexpr std::int32_t kCaretBottom = kTextSizes.front() * 7 / 5;
inline constexpr std::int32_t kBlinkMs = 530;

// Letters and their halo: light letters on a dark halo over dark pictures, swapped over light ones.
inline constexpr std::uint32_t kLightInk = 0xFFFFFF;
inline constexpr std::uint32_t kDarkInk = 0x000000;

// The picture is read where the message lies, at every sixth pixel each way. It counts as light
// when its mean luma (Rec. 709 weights, in 256ths) is over 118 of 255: there, relative luminance
// passes 0.18, above which dark letters stand out from it more than light ones do.
inline constexpr std::int32_t kPictureSampleStep = 6;
inline constexpr std::int32_t kRedWeight = 54;
inline constexpr std::int32_t kGreenWeight = 183;
inline constexpr std::int32_t kBlueWeight = 19;
inline constexpr std::int32_t kLightLuma = 118 * 256;

// A finished message is held long enough to be read at 20 letters a second (200 words a minute,
// a common reading speed), and never less than 2 seconds. A message that scrolled is held for its
// share of letters on the banner.
inline constexpr std::int32_t kShortestHoldMs = 2000;
inline constexpr std::int32_t kReadingMsPerLetter = 50;

// A variable file that has not arrived this long after it was asked for is passed over.
inline constexpr std::int32_t kFileWaitMs = 3000;

}  // namespace bannermovie
