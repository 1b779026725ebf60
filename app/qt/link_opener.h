#pragma once

#include <QUrl>
#include <functional>

// Opens a web address. The window asks and forgets: nothing comes back.
using LinkOpener = std::function<void(const QUrl&)>;

// Opens the address with the desktop's default handler for web addresses.
LinkOpener DesktopLinkOpener();
