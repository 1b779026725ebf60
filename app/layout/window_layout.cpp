#include "window_layout.h"

#include <algorithm>
#include <stdexcept>

namespace quillbeam::layout {
namespace {

constexpr bool EveryRoleButCaptionOnce() {
    for (const Role role :
         {Role::Folder, Role::Message1, Role::Message2, Role::Message3, Role::Message4,
          Role::Address, Role::Browse, Role::Generate, Role::ResourcesLink, Role::UpdateLink}) {
        if (std::ranges::count(kControls, role, &Control::role) != 1) return false;
    }
    return true;
}
static_assert(EveryRoleButCaptionOnce());

constexpr bool TabIndexesOnInputsAlone() {
    return std::ranges::all_of(kControls, [](const Control& control) {
        return control.tabIndex.has_value() == control.takesFocus();
    });
}
static_assert(TabIndexesOnInputsAlone());

static_assert(kResourcesPageUrl.substr(7, kPublisherHost.size()) == kPublisherHost);
static_assert(kUpdatePageUrl.substr(7, kPublisherHost.size()) == kPublisherHost);

}  // namespace

const Control& Find(Role role) {
    const auto found = std::ranges::find(kControls, role, &Control::role);
    if (role == Role::Caption || found == kControls.end()) {
        throw std::out_of_range("no one control has this role");
    }
    return *found;
}

std::size_t IndexOf(const Control& control) {
    return static_cast<std::size_t>(&control - kControls.data());
}

std::vector<const Control*> FocusOrder() {
    std::vector<const Control*> order;
    for (const Control& control : kControls) {
        if (control.takesFocus()) order.push_back(&control);
    }
    std::ranges::sort(order, {}, [](const Control* control) { return *control->tabIndex; });
    return order;
}

Link LinkOf(Role role) {
    switch (role) {
        case Role::ResourcesLink:
            return {kResourcesPageUrl, u"Quillbeam extras: more banners, fonts and tips",
                    u"Opens the page of further resources in your web browser"};
        case Role::UpdateLink:
            return {kUpdatePageUrl, u"Check for Updates",
                    u"Opens the page with the newest version in your web browser"};
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
