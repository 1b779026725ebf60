#include "link_opener.h"

#include <QDesktopServices>

LinkOpener DesktopLinkOpener() {
    // Whether a browser came up is not the window's business.
    return [](const QUrl& address) { static_cast<void>(QDesktopServices::openUrl(address)); };
}
