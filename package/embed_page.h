#pragma once

#include <string>
#include <string_view>

namespace quillbeam {

// The outside hosts the sample page points at, in one place.
namespace page_hosts {
inline constexpr std::string_view kPlayerDownload = "download.macromedia.com";
inline constexpr std::string_view kPlayerWeb = "www.macromedia.com";
inline constexpr std::string_view kDefaultLink = "www.wikipedia.org";
}  // namespace page_hosts

// The sample page that embeds the movie. It is the same for every package and entirely ASCII.
std::string BuildEmbeddingPageText();

}  // namespace quillbeam
