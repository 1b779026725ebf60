#include "window_layout.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace quillbeam::layout {

static_assert(kResourcesPageUrl.substr(7, kPublisherHost.size()) == kPublisherHost);
static_assert(kUpdatePageUrl.substr(7, kPublisherHost.size()) == kPublisherHost);

const Control& Find(std::string_view name) {
    const auto found = std::ranges::find(kControls, name, &Control::name);
    if (found == kControls.end()) {
        throw std::out_of_range("no control named " + std::string(name));
    }
    return *found;
}

std::vector<const Control*> FocusOrder() {
    std::vector<const Control*> order;
    for (const Control& control : kControls) {
        if (control.takesFocus()) order.push_back(&control);
    }
    std::ranges::sort(order, {}, [](const Control* control) { return *control->tabIndex; });
    return order;
}

std::string_view LinkAddress(const Control& control) {
    switch (control.command) {
        case Command::ResourcesPage:
            return kResourcesPageUrl;
        case Command::UpdatePage:
            return kUpdatePageUrl;
        default:
            return {};
    }
}

int Scale(int pixels, int dpi) {
    // MulDiv(pixels, dpi, 96): rounds half away from zero.
    const long long product = static_cast<long long>(pixels) * dpi;
    const long long half = product >= 0 ? 48 : -48;
    return static_cast<int>((product + half) / 96);
}

Rect Scale(const Rect& rect, int dpi) {
    return {Scale(rect.left, dpi), Scale(rect.top, dpi), Scale(rect.width, dpi),
            Scale(rect.height, dpi)};
}

}  // namespace quillbeam::layout
