#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bannermovie {

inline constexpr std::int32_t kTwipsPerPixel = 20;

// The codes of the tags this movie is made of.
enum class TagCode : std::uint16_t {
    End = 0,
    ShowFrame = 1,
    DefineShape = 2,
    SetBackgroundColor = 9,
    DoAction = 12,
    PlaceObject2 = 26,
    DefineButton2 = 34,
    DefineEditText = 37,
    DefineSprite = 39,
    DefineFont2 = 48,
    FileAttributes = 69,
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// A rectangle in twips (1/20 pixel).
struct Rect {
    std::int32_t xMin = 0;
    std::int32_t xMax = 0;
    std::int32_t yMin = 0;
    std::int32_t yMax = 0;
};

// RECT: a 5-bit field width, then the four coordinates in that many bits each.
std::string EncodeRect(const Rect& rect);

// A tag: its code and length in the short header (lengths up to 62) or the long one.
std::string EncodeTag(TagCode code, std::string_view body);

// An uncompressed movie: the "FWS" header with the stage size, frame rate and frame count, then
// the tags in the order added, then the End tag.
class SwfFile {
  public:
    SwfFile(std::uint8_t version, Rect stage, std::uint8_t framesPerSecond,
            std::uint16_t frameCount);
    void AddTag(TagCode code, std::string_view body);
    std::string Finish() const;

  private:
    std::uint8_t version_;
    Rect stage_;
    std::uint8_t framesPerSecond_;
    std::uint16_t frameCount_;
    std::string tags_;
};

}  // namespace bannermovie
