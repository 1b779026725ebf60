#pragma once

#include <QIcon>
#include <QPixmap>

// Our pictures, built into the program from resources/artwork.
// The sizes come from resources/artwork/icon-sizes.txt, through the build.
inline constexpr int kApplicationIconSizes[] = {QUILLBEAM_ICON_SIZES};

// The 382 by 82 picture that advertises the publisher's further resources.
QPixmap BannerArtwork();

// The application icon, one image per size of kApplicationIconSizes.
QIcon ApplicationIcon();
