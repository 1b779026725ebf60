#pragma once

#include <string>

namespace bannermovie {

// The whole banner movie: a 468 by 100 pixel stage on black with the backdrop clip, the typed
// text over it with its dark outline and caret, an invisible full-stage button on top, and the
// script that drives them.
std::string BuildBannerMovie();

}  // namespace bannermovie
