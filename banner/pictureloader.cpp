#include "banner/pictureloader.h"

#include "banner/picturedecoder.h"
#include "banner/weburl.h"

#include <algorithm>

namespace tarvell {

PictureLoader::PictureLoader(NetworkAccess *network, QObject *parent)
    : QObject(parent), m_fetch(network, FetchLimits::forPicture())
{}

void PictureLoader::LoadPicture(QString strFileName)
{
    m_fetch.abandon();

    const QUrl url(strFileName);
    if (hasWebScheme(url)) {
        m_fetchUrl = url;
        m_fetch.start(url, this, &PictureLoader::onFetched);
        return;
    }
    // Anything else is a local file; a missing one, or one that is no picture, gives none.
    const QString path = url.isLocalFile() ? url.toLocalFile() : strFileName;
    Q_EMIT pictureLoaded(PictureDecoder::fromFile(path));
}

void PictureLoader::onFetched(bool ok, const QByteArray &body)
{
    m_fetch.release();
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

} // namespace tarvell
