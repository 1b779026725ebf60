#pragma once

#include <optional>
#include <string>

#include "banner_request.h"
#include "window_layout.h"

// The question Generate asks before it writes a package whose messages or address hold characters
// that the banner cannot show, not even as a near letter: each would reach the banner as "?".
// Near letters (ż as z) are not asked about: they read well. Nor is the folder: the banner never
// shows it.
namespace quillbeam::window {

struct UnshowableQuestion {
    layout::Role firstBox;  // the first box holding such characters, in focus order
    std::u16string text;    // names the boxes and up to five of the characters; lines end in CR LF
};

// The question for `request`, or none when the banner can show every character it would carry.
std::optional<UnshowableQuestion> QuestionBeforeWriting(const BannerRequest& request);

}  // namespace quillbeam::window
