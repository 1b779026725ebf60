#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "swf_file.h"

namespace bannermovie {

// Builders of the tag bodies the banner needs, each named after its tag.

// FileAttributes with no flags set: plain AVM1, and, played from a disk, the files beside it.
std::string FileAttributes();

std::string SetBackgroundColor(Rgb color);

// DefineFont2 naming a device font (such as "_sans") and carrying no glyphs: the player draws
// the text with its own font of that name.
std::string DefineDeviceFont(std::uint16_t fontId, std::string_view name);

struct EditTextStyle {
    std::uint16_t fontId = 0;
    std::uint16_t heightTwips = 0;
    Rgb color;
    std::uint8_t alpha = 0xFF;
    bool fitsText = false;  // AutoSize: the box shrinks or grows to the text's height
};
// DefineEditText: a read-only, unselectable, word-wrapping multi-line text field with no text of
// its own; scripts set it through the instance name it is placed with.
std::string DefineWrappingTextField(std::uint16_t fieldId, Rect bounds, const EditTextStyle& style);

// DefineEditText as above, but its lines break only at line breaks in its text.
std::string DefineUnwrappedTextField(std::uint16_t fieldId, Rect bounds,
                                     const EditTextStyle& style);

// DefineEditText as above, but one line that never wraps: a script measures text with it.
std::string DefineSingleLineTextField(std::uint16_t fieldId, Rect bounds,
                                      const EditTextStyle& style);

// DefineSprite with one empty frame: a clip that a picture can be loaded into.
std::string DefineEmptySprite(std::uint16_t spriteId);

// DefineSprite with one frame that shows the given shapes, the first lowest.
std::string DefineSpriteOfShapes(std::uint16_t spriteId,
                                 std::initializer_list<std::uint16_t> shapeIds);

// DefineSprite with one frame made of the given PlaceObject2 bodies, in order.
std::string DefineSpriteOfPlacements(std::uint16_t spriteId,
                                     const std::vector<std::string>& placements);

// DefineShape: a rectangle filled with one solid colour, with no outline.
std::string DefineFilledRectangle(std::uint16_t shapeId, Rect rect, Rgb fill);

// DefineButton2 whose hit area is `shapeId` and which shows nothing (so it is invisible), running
// `releaseActions` (a finished action block) when pressed and released over it.
std::string DefineInvisibleButton(std::uint16_t buttonId, std::uint16_t shapeId,
                                  std::string_view releaseActions);

// PlaceObject2 placing a character at a depth, untransformed, under an instance name.
std::string PlaceNamedObject(std::uint16_t depth, std::uint16_t characterId,
                             std::string_view instanceName);

// PlaceObject2 as above, moved by (dx, dy) twips.
std::string PlaceNamedObjectAt(std::uint16_t depth, std::uint16_t characterId,
                               std::string_view instanceName, std::int32_t dx, std::int32_t dy);

}  // namespace bannermovie
