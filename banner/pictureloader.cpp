#include "banner/pictureloader.h"

#include "banner/boundedfetch.h"
#include "banner/networkaccess.h"
#include "banner/picturedecoder.h"

#include <algorithm>

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
        m_fetchUrl = url;
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
    Q_EMIT pictureLoaded(ok ? decode(m_fetchUrl, body) : QImage());
}

QImage PictureLoader::decode(const QUrl &url, const QByteArray &body)
{
    // Comparing a few dozen KiB costs far less than decoding them again.
    const auto known = std::find_if(m_decoded.begin(), m_decoded.end(),
                                    [&url](const Decoded &decoded) { return decoded.url == url; });
    if (known != m_decoded.end()) {
        if (known->bytes == body)
            return known->picture;
        m_decoded.erase(known);
    }
    if (m_decoded.size() >= MaxRemembered)
        m_decoded.removeFirst();
    m_decoded.append({url, body, PictureDecoder::fromBytes(body)});
    return m_decoded.constLast().picture;
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
