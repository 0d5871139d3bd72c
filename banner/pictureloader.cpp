#include "banner/pictureloader.h"

#include "banner/boundedfetch.h"
#include "banner/networkaccess.h"
#include "banner/picturedecoder.h"

#include <QUrl>

namespace tarvell {

PictureLoader::PictureLoader(NetworkAccess *network, QObject *parent)
    : QObject(parent), m_network(network)
{}

void PictureLoader::LoadPicture(QString strFileName)
{
    abandonFetch();

    const QUrl url(strFileName);
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http" || scheme == u"https") {
        m_fetch = new BoundedFetch(m_network->manager(), url, m_limits, this);
        connect(m_fetch, &BoundedFetch::finished, this, &PictureLoader::onFetched);
        return;
    }
    // Anything else is a local file; a missing one, or one that is no picture, gives none.
    const QString path = url.isLocalFile() ? url.toLocalFile() : strFileName;
    Q_EMIT pictureLoaded(PictureDecoder::fromFile(path));
}

void PictureLoader::onFetched(bool ok, const QByteArray &body)
{
    // The fetch is done reporting; it goes once control is back in the event loop.
    m_fetch->deleteLater();
    m_fetch = nullptr;
    Q_EMIT pictureLoaded(ok ? PictureDecoder::fromJpeg(body) : QImage());
}

void PictureLoader::abandonFetch()
{
    if (!m_fetch)
        return;
    m_fetch->disconnect(this);
    m_fetch->abandon();
    m_fetch->deleteLater();
    m_fetch = nullptr;
}

} // namespace tarvell
