#pragma once

#include <QUrl>

namespace tarvell {

// http and https are the only schemes the banner fetches or hands on. QUrl keeps schemes in
// lower case, so "HTTP://..." passes too.
inline bool hasWebScheme(const QUrl &url)
{
    return url.scheme() == u"http" || url.scheme() == u"https";
}

// A web address with somewhere to go: a redirect or a link needs a host, while a picture's
// address without one is still fetched, and fails there like any other.
inline bool isWebAddress(const QUrl &url)
{
    return hasWebScheme(url) && !url.host().isEmpty();
}

} // namespace tarvell
