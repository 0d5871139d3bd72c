#include "banner/bannercache.h"

#include <QDateTime>

#include <algorithm>

namespace tarvell {

namespace {

bool canBeUsedAgain(const QNetworkCacheMetaData &metaData)
{
    if (metaData.expirationDate().isValid())
        return true;
    const QNetworkCacheMetaData::RawHeaderList headers = metaData.rawHeaders();
    return std::any_of(headers.cbegin(), headers.cend(), [](const auto &header) {
        return header.first.compare("ETag", Qt::CaseInsensitive) == 0 ||
               header.first.compare("Last-Modified", Qt::CaseInsensitive) == 0;
    });
}

} // namespace

BannerCache::BannerCache(const QList<QUrl> &addresses, QObject *parent)
    : QNetworkDiskCache(parent), m_addresses(addresses)
{}

QIODevice *BannerCache::prepare(const QNetworkCacheMetaData &metaData)
{
    if (!m_addresses.contains(metaData.url()) || !canBeUsedAgain(metaData))
        return nullptr;
    return QNetworkDiskCache::prepare(metaData);
}

} // namespace tarvell
