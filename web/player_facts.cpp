// Writes the browser player: web/bannerplayer.js with its one placeholder replaced by the banner's
// facts, taken from the headers the movie's generator reads (the package's format, the markers a
// variable file is read by, and the banner's rules), so that the player and the movie cannot
// drift apart, and without the comments a visitor need not download. The build runs it to place
// Template/bannerplayer.js beside the executables.
//   player_facts SOURCE.js OUTPUT.js
#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "banner_rules.h"
#include "package_format.h"
#include "package_format_reading.h"

namespace {

namespace format = quillbeam::package_format;
using namespace bannermovie;

constexpr std::string_view kPlaceholder = "/*@banner-facts@*/ null";

// An ASCII text as a JavaScript string literal.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const std::string_view escaped = c == '\r' ? "\\r" : c == '\n' ? "\\n" : "";
        if (!escaped.empty()) {
            out += escaped;
        } else if (c < ' ' || c > '~') {
            throw std::invalid_argument("a fact is not printable ASCII");
        } else {
            if (c == '"' || c == '\\') out += '\\';
            out += c;
        }
    }
    return out + "\"";
}
std::string Quoted(std::u16string_view text) {
    return Quoted(FormatText(text));
}

std::string Colour(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFFU));
    return Quoted(std::string_view(text));
}

template <typename Range, typename Each>
std::string List(const Range& items, Each each) {
    std::string out = "[";
    for (const auto& item : items) out += (out.size() == 1 ? "" : ", ") + each(item);
    return out + "]";
}

// The facts as a frozen object literal, one to a line, named as the player uses them.
std::string PlayerFacts() {
    const FileMarkers& markers = ReadingMarkers();
    const auto number = [](std::int32_t value) { return std::to_string(value); };
    const auto text = [](std::u16string_view value) { return Quoted(value); };
    std::ostringstream facts;
    facts << "Object.freeze({\n"
          << "    files: " << List(format::kVariableFileNames, text) << ",\n"
          << "    movie: " << Quoted(format::kMovieName) << ",\n"
          << "    picture: " << Quoted(format::kPictureName) << ",\n"
          << "    stageWidth: " << kStageWidth << ",\n"
          << "    stageHeight: " << kStageHeight << ",\n"
          << "    lineBreak: " << Quoted(format::kLineBreak) << ",\n"
          << "    markers: {speed: " << Quoted(markers.speed) << ", url: " << Quoted(markers.url)
          << ", urlEnd: " << Quoted(markers.urlEnd) << ", message: " << Quoted(markers.message)
          << ", valueEnd: " << Quoted(markers.valueEnd) << "},\n"
          << "    defaultSpeed: " << format::kDefaultSpeedMs << ",\n"
          << "    fileWait: " << kFileWaitMs << ",\n"
          << "    area: {left: " << kTextArea.left << ", top: " << kTextArea.top
          << ", right: " << kTextArea.right << ", bottom: " << kTextArea.bottom << "},\n"
          << "    gutter: " << kTextGutter << ",\n"
          << "    sizes: " << List(kTextSizes, number) << ",\n"
          << "    lineHeight: " << kLineHeightPerMille << " / 1000,\n"
          << "    caretTop: " << kCaretTop << ",\n"
          << "    caretBottom: " << kCaretBottom << ",\n"
          << "    blink: " << kBlinkMs << ",\n"
          << "    lightInk: " << Colour(kLightInk) << ",\n"
          << "    darkInk: " << Colour(kDarkInk) << ",\n"
          << "    sampleStep: " << kPictureSampleStep << ",\n"
          << "    weights: [" << kRedWeight << ", " << kGreenWeight << ", " << kBlueWeight << "],\n"
          << "    lightLuma: " << kLightLuma << ",\n"
          << "    shortestHold: " << kShortestHoldMs << ",\n"
          << "    readingPerLetter: " << kReadingMsPerLetter << ",\n"
          << "  })";
    return facts.str();
}

std::string WithFacts(std::string source) {
    const std::size_t at = source.find(kPlaceholder);
    if (at == std::string::npos || source.find(kPlaceholder, at + 1) != std::string::npos) {
        throw std::runtime_error("the source has not exactly one placeholder " +
                                 std::string(kPlaceholder));
    }
    return source.replace(at, kPlaceholder.size(), PlayerFacts());
}

// The source without the notes for its readers: every line that holds only a comment goes, but
// for the opening lines, which tell a site's owner what the file is. A visitor downloads less.
std::string WithoutNotes(const std::string& source) {
    std::istringstream lines(source);
    std::string out;
    bool opening = true;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t first = line.find_first_not_of(" \t");
        const bool note = first != std::string::npos && line.compare(first, 2, "//") == 0;
        opening = opening && note;
        if (!note || opening) out += line + "\n";
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "player_facts") << " SOURCE.js OUTPUT.js\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in.is_open()) throw std::runtime_error(std::string("cannot read ") + argv[1]);
        const std::string source{std::istreambuf_iterator<char>(in), {}};
        const std::string player = WithFacts(WithoutNotes(source));
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(player.data(), static_cast<std::streamsize>(player.size()));
        out.close();
        if (!out) {
            std::cerr << "cannot write " << argv[2] << "\n";
            std::remove(argv[2]);  // leave no half-written player for the build to copy
            return 1;
        }
    } catch (const std::exception& failure) {
        std::cerr << "cannot build the banner player: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
