#include "artwork.h"

#include <QImageReader>

// The resources live in a static library: naming their initialiser keeps the linker from
// dropping them. It must be called from outside any namespace.
static void LoadArtworkResources() {
    Q_INIT_RESOURCE(artwork);
}

namespace {

// Our artwork is all PNG, which Qt reads itself. Naming the format and turning off detection
// keeps it from loading every image-format plugin (and libjpeg with them) to ask each one first.
QPixmap ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace

QPixmap BannerArtwork() {
    LoadArtworkResources();
    return ReadPng(QStringLiteral(":/artwork/banner.png"));
}

QIcon ApplicationIcon() {
    LoadArtworkResources();
    QIcon icon;
    for (const int size : kApplicationIconSizes) {
        icon.addPixmap(ReadPng(QStringLiteral(":/artwork/icon-%1.png").arg(size)));
    }
    return icon;
}
