#pragma once

#include "banner/fetchlimits.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <optional>
#include <utility>

class QNetworkAccessManager;

namespace tarvell {

// Owns the one QNetworkAccessManager of the banner, made on first use: the window's start-up
// must not pay for network setup before the banner actually fetches something. The manager
// keeps an HTTP cache on disk for the few addresses it is told to.
class NetworkAccess : public QObject
{
    Q_OBJECT
public:
    // Room for the page and three pictures many times over, and still small on any disk.
    static constexpr qint64 MaxCacheBytes = 2 * 1024 * 1024;

    explicit NetworkAccess(QObject *parent = nullptr);

    // The only addresses whose answers are kept. None until set.
    void setCachedAddresses(const QList<QUrl> &urls) { m_cachedAddresses = urls; }
    // Where the cache lives; an empty path means no cache. Until set, a folder in the user's
    // cache location. Takes effect when the manager is made.
    void setCacheDirectory(const QString &path) { m_cacheDirectory = path; }
    // The folder in use, empty when nothing is cached (none set, or it cannot be written).
    QString cacheDirectory() const;

    QNetworkAccessManager *manager();

    // Waits that replace each kind of fetch's own for every fetch started from now on.
    void setFetchTimeouts(std::chrono::milliseconds inactivity, std::chrono::milliseconds deadline)
    {
        m_timeouts = {inactivity, deadline};
    }
    // A kind's limits, with those waits when set.
    FetchLimits limitsFor(FetchLimits limits) const;

private:
    void setUpCache();

    QNetworkAccessManager *m_manager = nullptr;
    QList<QUrl> m_cachedAddresses;
    std::optional<QString> m_cacheDirectory;
    std::optional<std::pair<std::chrono::milliseconds, std::chrono::milliseconds>> m_timeouts;
};

} // namespace tarvell
