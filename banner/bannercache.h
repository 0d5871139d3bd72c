#pragma once

#include <QList>
#include <QNetworkDiskCache>
#include <QUrl>

namespace tarvell {

// Qt's disk cache, keeping only what is worth keeping: answers for the banner's own addresses
// (not what a redirect leads to, nor anything else the manager fetches), and only those that
// can be used again, being fresh for a while or carrying a validator. Storing anything else
// would only write the disk on every tick.
class BannerCache : public QNetworkDiskCache
{
    Q_OBJECT
public:
    explicit BannerCache(const QList<QUrl> &addresses, QObject *parent = nullptr);

    QIODevice *prepare(const QNetworkCacheMetaData &metaData) override;

private:
    QList<QUrl> m_addresses;
};

} // namespace tarvell
