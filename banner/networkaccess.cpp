#include "banner/networkaccess.h"

#include "banner/bannercache.h"

#include <QDir>
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
    return m_cache ? m_cache->cacheDirectory() : QString();
}

BannerCache *NetworkAccess::cache()
{
    if (!m_cache)
        m_cache = new BannerCache(m_cachedAddresses, usableCacheFolder(), this);
    return m_cache;
}

QString NetworkAccess::usableCacheFolder() const
{
    QString folder = m_cacheDirectory.value_or(QString());
    if (!m_cacheDirectory) {
        const QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        if (!base.isEmpty())
            folder = base + QStringLiteral("/banner");
    }
    // A cache that cannot be written is no cache at all, never a failure of the banner.
    if (folder.isEmpty() || !QDir().mkpath(folder) || !canWriteIn(folder))
        return {};
    return folder;
}

} // namespace tarvell
