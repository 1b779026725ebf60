#pragma once

#include <QString>
#include <QUrl>

// The publisher's web pages the window links to, on one host.
inline constexpr char kPublisherHost[] = "www.quillbeam.net";

inline QUrl PublisherPage(const char* path) {
    return {QStringLiteral("http://") + QLatin1String(kPublisherHost) + QLatin1String(path)};
}
inline QUrl ResourcesPageUrl() {
    return PublisherPage("/ZRV/NEW/");
}
inline QUrl UpdatePageUrl() {
    return PublisherPage("/ZRV/update.htm");
}
