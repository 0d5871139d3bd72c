#pragma once

#include <QString>
#include <QUrl>

namespace tarvell {

// The addresses on the maker's web site. All are plain http on one host, which may carry a
// port ("127.0.0.1:8765").
class MakerSite
{
public:
    explicit MakerSite(const QString &host);

    // "http://" and the host, nothing after it: the credits line shows and opens this.
    QString homeAddress() const;
    QUrl homeUrl() const;
    // The hidden page whose text is the banner's link.
    QUrl pageUrl() const;
    // Banner picture number (1, 2 or 3).
    QUrl pictureUrl(qint16 number) const;

private:
    QString m_host;
};

} // namespace tarvell
