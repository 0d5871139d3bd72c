#include "banner/networkaccess.h"

#include "banner/bannercache.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <tuple>

namespace tarvell {

namespace {

// Whether a file can be made in the folder, which a permission check alone cannot tell (a full
// disk, a read-only mount, a file where the folder should be).
bool canWriteIn(const QString &folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/probe-XXXXXX"));
    return probe.open();
}

} // namespace

NetworkAccess::NetworkAccess(QObject *parent) : QObject(parent) {}

FetchLimits NetworkAccess::limitsFor(FetchLimits limits) const
{
    if (m_timeouts)
        std::tie(limits.inactivity, limits.deadline) = *m_timeouts;
    return limits;
}

QString NetworkAccess::cacheDirectory() const
{
    if (!m_manager)
        return {};
    const auto *cache = qobject_cast<const BannerCache *>(m_manager->cache());
    return cache ? cache->cacheDirectory() : QString();
}

QNetworkAccessManager *NetworkAccess::manager()
{
    if (!m_manager) {
        m_manager = new QNetworkAccessManager(this);
        // Nothing is remembered between fetches but the HTTP cache: no HSTS list, no cookies.
        m_manager->setStrictTransportSecurityEnabled(false);
        setUpCache();
    }
    return m_manager;
}

void NetworkAccess::setUpCache()
{
    QString folder = m_cacheDirectory.value_or(QString());
    if (!m_cacheDirectory) {
        const QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        if (!base.isEmpty())
            folder = base + QStringLiteral("/banner");
    }
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;

    // A cache that cannot be written is no cache at all, never a failure of the banner. The
    // disk cache makes its own subfolders when it needs them (which ones, and when, differs
    // between Qt versions), so the folder it is given is what must take files.
    if (!canWriteIn(folder))
        return;
    auto *cache = new BannerCache(m_cachedAddresses, m_manager);
    cache->setCacheDirectory(folder);
    cache->setMaximumCacheSize(MaxCacheBytes);
    m_manager->setCache(cache);
}

} // namespace tarvell
