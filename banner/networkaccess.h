#pragma once

#include "banner/fetchlimits.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <optional>
#include <utility>

namespace tarvell {

class BannerCache;

// What the banner's fetches share: the HTTP cache, made on first use (the window's start-up
// must not pay for a look into the cache folder before the banner fetches something), and the
// waits tests shorten. Each fetch has a connection of its own.
class NetworkAccess : public QObject
{
    Q_OBJECT
public:
    explicit NetworkAccess(QObject *parent = nullptr);

    // The only addresses whose answers are kept. None until set.
    void setCachedAddresses(const QList<QUrl> &urls) { m_cachedAddresses = urls; }
    // Where the cache lives; an empty path means no cache. Until set, a folder in the user's
    // cache location. Takes effect when the cache is made.
    void setCacheDirectory(const QString &path) { m_cacheDirectory = path; }
    // The folder in use, empty when nothing is cached (none set, or it cannot be written).
    QString cacheDirectory() const;

    BannerCache *cache();

    // Waits that replace each kind of fetch's own for every fetch started from now on.
    void setFetchTimeouts(std::chrono::milliseconds inactivity, std::chrono::milliseconds deadline)
    {
        m_timeouts = {inactivity, deadline};
    }
    // A kind's limits, with those waits when set.
    FetchLimits limitsFor(FetchLimits limits) const;

private:
    QString usableCacheFolder() const;

    BannerCache *m_cache = nullptr;
    QList<QUrl> m_cachedAddresses;
    std::optional<QString> m_cacheDirectory;
    std::optional<std::pair<std::chrono::milliseconds, std::chrono::milliseconds>> m_timeouts;
};

} // namespace tarvell
