#pragma once

#include <array>
#include <concepts>
#include <stdexcept>
#include <type_traits>

#include "banner_request.h"
#include "window_layout.h"

// Which box of the window fills which text of a banner request, for the windows reading their
// boxes and for what is said about a request, box by box.
namespace quillbeam::window {

// The boxes a banner request is typed into, in focus order: the folder, the four messages in the
// order of the banner's files, then the address.
inline constexpr std::array<layout::Role, 6> kRequestBoxes = {
    layout::Role::Folder,   layout::Role::Message1, layout::Role::Message2,
    layout::Role::Message3, layout::Role::Message4, layout::Role::Address};

// The text of `request`, const or not, that the box with `role` fills; std::out_of_range for a
// role that is none of kRequestBoxes.
template <typename Request>
requires std::same_as<std::remove_const_t<Request>, BannerRequest>
auto& TextOfBox(Request& request, layout::Role role) {
    switch (role) {
        case layout::Role::Folder:
            return request.folder;
        case layout::Role::Message1:
            return request.messages[0];
        case layout::Role::Message2:
            return request.messages[1];
        case layout::Role::Message3:
            return request.messages[2];
        case layout::Role::Message4:
            return request.messages[3];
        case layout::Role::Address:
            return request.url;
        default:
            throw std::out_of_range("no text of a banner request is typed into this box");
    }
}

}  // namespace quillbeam::window
