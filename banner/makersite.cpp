#include "banner/makersite.h"

namespace tarvell {

MakerSite::MakerSite(const QString &host) : m_host(host) {}

QString MakerSite::homeAddress() const
{
    return QStringLiteral("http://") + m_host;
}

QUrl MakerSite::homeUrl() const
{
    return QUrl(homeAddress());
}

QUrl MakerSite::pageUrl() const
{
    return QUrl(homeAddress() + QStringLiteral("/zintu/zintu.htm"));
}

QUrl MakerSite::pictureUrl(qint16 number) const
{
    return QUrl(homeAddress() + QStringLiteral("/zintu/") + QString::number(number) +
                QStringLiteral(".jpg"));
}

} // namespace tarvell
