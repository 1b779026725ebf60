#include "artwork.h"

// The resources live in a static library: naming their initialiser keeps the linker from
// dropping them. It must be called from outside any namespace.
static void LoadArtworkResources() {
    Q_INIT_RESOURCE(artwork);
}

QPixmap BannerArtwork() {
    LoadArtworkResources();
    return {QStringLiteral(":/artwork/banner.png")};
}

QIcon ApplicationIcon() {
    LoadArtworkResources();
    QIcon icon;
    for (const int size : kApplicationIconSizes) {
        icon.addFile(QStringLiteral(":/artwork/icon-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}
