#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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
        return pixels.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x));
    }
};

// How far a pixel may stray from the reference in each of red, green and blue: room for a
// renderer's rounding, far below what a shifted edge or glyph changes.
inline constexpr int kPictureTolerance = 8;

// Empty when `actual` has the size of `reference` and every pixel is within kPictureTolerance of
// it; else how many pixels stray, and the rectangle that holds them.
inline std::string PictureMismatch(const Picture& actual, const Picture& reference) {
    if (actual.width != reference.width || actual.height != reference.height) {
        return "the picture is " + std::to_string(actual.width) + "x" +
               std::to_string(actual.height) + ", the reference " +
               std::to_string(reference.width) + "x" + std::to_string(reference.height) + "\n";
    }
    int strays = 0;
    int left = actual.width, top = actual.height, right = -1, bottom = -1;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            const std::uint32_t a = actual.at(x, y);
            const std::uint32_t b = reference.at(x, y);
            bool stray = false;
            for (const int shift : {16, 8, 0}) {
                const int difference =
                    static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
                stray = stray || std::abs(difference) > kPictureTolerance;
            }
            if (!stray) continue;
            ++strays;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
    }
    if (strays == 0) return {};
    return std::to_string(strays) + " pixels differ from the reference by more than " +
           std::to_string(kPictureTolerance) + " within x " + std::to_string(left) + ".." +
           std::to_string(right) + ", y " + std::to_string(top) + ".." + std::to_string(bottom) +
           "\n";
}

// Binary PPM (P6), which ImageMagick turns into PNG and back.
inline void WritePpm(const std::filesystem::path& path, const Picture& picture) {
    std::string bytes =
        "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
    for (const std::uint32_t pixel : picture.pixels) {
        for (const int shift : {16, 8, 0}) bytes += static_cast<char>((pixel >> shift) & 0xFF);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// A binary PPM as WritePpm and ImageMagick write it: no comments, a maximum of 255.
inline Picture ReadPpm(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    Picture picture;
    in >> magic >> picture.width >> picture.height >> maximum;
    in.get();  // the one white-space character before the pixels
    if (!in || magic != "P6" || maximum != 255 || picture.width <= 0 || picture.height <= 0) {
        throw std::runtime_error("not a picture: " + path.string());
    }
    picture.pixels.resize(static_cast<std::size_t>(picture.width) *
                          static_cast<std::size_t>(picture.height));
    for (std::uint32_t& pixel : picture.pixels) {
        unsigned char rgb[3] = {};
        if (!in.read(reinterpret_cast<char*>(rgb), 3)) {
            throw std::runtime_error("picture cut short: " + path.string());
        }
        pixel = (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2];
    }
    return picture;
}
