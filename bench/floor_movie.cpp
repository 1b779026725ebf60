// Writes the banner benchmark's floor: a movie that does nothing, on a stage of the banner's size,
// so that what the player costs by itself can be told from what the banner adds to it.
//   floor_movie OUTPUT.swf FRAMES_PER_SECOND
// One black frame and no script: the player still draws it at every frame.
#include <charconv>
#include <fstream>
#include <iostream>
#include <string_view>

#include "banner_script.h"
#include "swf_file.h"
#include "swf_tags.h"

namespace {

constexpr std::uint8_t kSwfVersion = 8;  // the banner's version

}  // namespace

int main(int argc, char** argv) {
    int rate = 0;
    const std::string_view rateText = argc == 3 ? argv[2] : "";
    const auto [end, error] =
        std::from_chars(rateText.data(), rateText.data() + rateText.size(), rate);
    if (argc != 3 || error != std::errc() || end != rateText.data() + rateText.size() || rate < 1 ||
        rate > 255) {
        std::cerr << "usage: floor_movie OUTPUT.swf FRAMES_PER_SECOND (1 to 255)\n";
        return 2;
    }
    using namespace bannermovie;
    const Rect stage{0, kStageWidth * kTwipsPerPixel, 0, kStageHeight * kTwipsPerPixel};
    SwfFile movie(kSwfVersion, stage, static_cast<std::uint8_t>(rate), 1);
    movie.AddTag(TagCode::FileAttributes, FileAttributes());
    movie.AddTag(TagCode::SetBackgroundColor, SetBackgroundColor(Rgb{}));
    movie.AddTag(TagCode::ShowFrame, {});
    const std::string bytes = movie.Finish();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
