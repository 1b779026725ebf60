#include "link_color.h"

#include <algorithm>
#include <cmath>

namespace quillbeam::window {
namespace {

// The relative luminance of sRGB colour `color`.
double Luminance(Rgb color) {
    const auto linear = [](std::uint8_t channel) {
        const double value = channel / 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.red) + 0.7152 * linear(color.green) + 0.0722 * linear(color.blue);
}

}  // namespace

double ContrastRatio(Rgb first, Rgb second) {
    const double a = Luminance(first);
    const double b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Rgb LinkColor(const DesktopColors& desktop) {
    const auto readable = [&desktop](Rgb color) {
        return ContrastRatio(color, desktop.window) >= kReadableContrast;
    };
    if (!desktop.highContrast && readable(kLinkBlue)) return kLinkBlue;
    if (readable(desktop.link)) return desktop.link;
    if (readable(desktop.text)) return desktop.text;
    constexpr Rgb kBlack{0, 0, 0};
    constexpr Rgb kWhite{255, 255, 255};
    return ContrastRatio(kBlack, desktop.window) >= ContrastRatio(kWhite, desktop.window) ? kBlack
                                                                                          : kWhite;
}

}  // namespace quillbeam::window
