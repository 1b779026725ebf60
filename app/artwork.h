#pragma once

#include <QIcon>
#include <QPixmap>

// Our pictures, built into the program from resources/artwork.
inline constexpr int kApplicationIconSizes[] = {16, 24, 32, 48, 64, 72, 96, 128};

// The 382 by 82 picture that advertises the publisher's further resources.
QPixmap BannerArtwork();

// The application icon, one image per size of kApplicationIconSizes.
QIcon ApplicationIcon();
