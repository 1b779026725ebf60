#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

// A picture of a window as the tests compare it: rows of 0xRRGGBB pixels, top to bottom. Free of
// any framework, so that both windows' tests compare the same way.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const {
        return pixels.at(static_cast<std::size_t>(y * width + x));
    }
};

// How far a pixel may stray from the reference in each of red, green and blue: room for a
// renderer's rounding, far below what a shifted edge or glyph changes.
inline constexpr int kPictureTolerance = 8;

// Empty when `actual` has the size of `reference` and every pixel is within kPictureTolerance of
// it; else how many pixels stray, and the rectangle that holds them.
inline std::string PictureMismatch(const Picture& actual, const Picture& reference) {
    const auto size = [](const Picture& picture) {
        return std::to_string(picture.width) + "x" + std::to_string(picture.height);
    };
    if (size(actual) != size(reference)) return size(actual) + ", not " + size(reference) + "\n";
    int strays = 0, left = actual.width, top = actual.height, right = -1, bottom = -1;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            bool stray = false;
            for (const int shift : {16, 8, 0}) {
                stray = stray || std::abs(static_cast<int>((actual.at(x, y) >> shift) & 0xFF) -
                                          static_cast<int>((reference.at(x, y) >> shift) & 0xFF)) >
                                     kPictureTolerance;
            }
            if (!stray) continue;
            ++strays;
            left = std::min(left, x), top = std::min(top, y);
            right = std::max(right, x), bottom = std::max(bottom, y);
        }
    }
    if (strays == 0) return {};
    return std::to_string(strays) + " pixels stray from the reference within x " +
           std::to_string(left) + ".." + std::to_string(right) + ", y " + std::to_string(top) +
           ".." + std::to_string(bottom) + "\n";
}

// Binary PPM (P6), which ImageMagick turns into PNG and back, with no comments and 255 levels.
inline void WritePpm(const std::filesystem::path& path, const Picture& picture) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "P6\n" << picture.width << " " << picture.height << "\n255\n";
    for (const std::uint32_t pixel : picture.pixels) {
        for (const int shift : {16, 8, 0}) out.put(static_cast<char>((pixel >> shift) & 0xFF));
    }
    if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

inline Picture ReadPpm(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int levels = 0;
    Picture picture;
    in >> magic >> picture.width >> picture.height >> levels;
    in.get();  // the one white-space character before the pixels
    picture.pixels.resize(static_cast<std::size_t>(std::max(picture.width * picture.height, 0)));
    for (std::uint32_t& pixel : picture.pixels) {
        for (int channel = 0; channel < 3; ++channel) {
            pixel = (pixel << 8) | static_cast<std::uint8_t>(in.get());
        }
    }
    if (!in || magic != "P6" || levels != 255)
        throw std::runtime_error("no picture: " + path.string());
    return picture;
}
