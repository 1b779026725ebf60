#include "fitting_font.h"

#include <algorithm>
#include <cmath>

#include "window_layout.h"

namespace quillbeam::window {
namespace {
constexpr int kSmallestFontPixels = 8;
}

// Every size tried costs the toolkit a font of its own, so the size is worked out from one
// measurement: text width grows in proportion to the font's size. Hinting and rounding can leave
// the estimate a little too large, which the check afterwards corrects.
int FittingFontSize(int size, int dpi, const MeasureTexts& measure) {
    std::vector<std::u16string_view> captions;
    std::vector<int> boxes;
    for (const layout::Control& control : layout::kControls) {
        if (control.kind != layout::Kind::Label) continue;
        captions.push_back(control.firstText);
        boxes.push_back(layout::Scale(control.rect.width, dpi));
    }
    // How far the font at `at` must shrink for the widest caption to fit its box; 1 when all fit.
    const auto shrinkToFit = [&](int at) {
        const std::vector<double> widths = measure(at, captions);
        double scale = 1;
        for (std::size_t i = 0; i < widths.size() && i < boxes.size(); ++i) {
            if (widths[i] > 0) scale = std::min(scale, boxes[i] / widths[i]);
        }
        return scale;
    };
    const int smallest = layout::Scale(kSmallestFontPixels, dpi);
    const double scale = shrinkToFit(size);
    if (scale >= 1) return size;
    int fitting = std::min(size, std::max(smallest, static_cast<int>(std::floor(size * scale))));
    while (fitting > smallest && shrinkToFit(fitting) < 1) --fitting;
    return fitting;
}

}  // namespace quillbeam::window
