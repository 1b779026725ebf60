#pragma once

// Resource numbers shared by the program and its resource script, which reads only macros.
#define QUILLBEAM_ICON_ID 1
#define QUILLBEAM_BANNER_ID 101

#ifdef __cplusplus
namespace quillbeam::win32 {
inline constexpr int kApplicationIconId = QUILLBEAM_ICON_ID;
inline constexpr int kBannerArtworkId = QUILLBEAM_BANNER_ID;
}  // namespace quillbeam::win32
#endif
