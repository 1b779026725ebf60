#pragma once

#include <functional>
#include <string_view>
#include <vector>

// The size of the window's font. The layout is fixed in pixels while the system's fonts vary, so
// the window narrows its font until every caption's text fits its box and none is cut off.
namespace quillbeam::window {

// The widths of `texts`, in order, in the window's font at `size` (in the toolkit's font units:
// pixels, or a font height), measured by the toolkit.
using MeasureTexts =
    std::function<std::vector<double>(int size, const std::vector<std::u16string_view>& texts)>;

// The largest size, at most `size`, at which every caption of the layout fits its box at `dpi`;
// never smaller than 8 pixels at `dpi`.
int FittingFontSize(int size, int dpi, const MeasureTexts& measure);

}  // namespace quillbeam::window
