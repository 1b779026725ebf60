#pragma once

#include <QString>
#include <QUrl>

#include "window_layout.h"

// The publisher's web pages the window links to, as Qt addresses.
inline QUrl PublisherPage(std::string_view address) {
    return {QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size()))};
}
inline QUrl ResourcesPageUrl() {
    return PublisherPage(quillbeam::layout::kResourcesPageUrl);
}
inline QUrl UpdatePageUrl() {
    return PublisherPage(quillbeam::layout::kUpdatePageUrl);
}
