#include "banner/pictureloader.h"

#include "banner/picturedecoder.h"
#include "banner/weburl.h"

#include <QPromise>

#include <algorithm>
#include <memory>
#include <utility>

namespace tarvell {

PictureLoader::PictureLoader(NetworkAccess *network, QObject *parent)
    : QObject(parent), m_fetch(network, FetchLimits::forPicture())
{
    m_decoder.setMaxThreadCount(1);
}

PictureLoader::~PictureLoader()
{
    // Only the decoding under way is waited for, not those queued behind it.
    m_decoder.clear();
}

void PictureLoader::LoadPicture(QString strFileName)
{
    m_fetch.abandon();
    dropDecoding();

    const QUrl url(strFileName);
    if (hasWebScheme(url)) {
        m_fetchUrl = url;
        m_fetch.start(url, this, &PictureLoader::onFetched);
        return;
    }
    // Anything else is a local file; a missing one, or one that is no picture, gives none. A
    // file may be anything too, and lie on a slow disk.
    const QString path = url.isLocalFile() ? url.toLocalFile() : strFileName;
    decodeAside([path] { return PictureDecoder::fromFile(path); });
}

void PictureLoader::onFetched(bool ok, const QByteArray &body)
{
    m_fetch.release();
    if (!ok) {
        Q_EMIT pictureLoaded(QImage());
        return;
    }
    // Comparing a few dozen KiB costs far less than decoding them again.
    const auto known =
        std::find_if(m_decoded.begin(), m_decoded.end(),
                     [this](const Decoded &decoded) { return decoded.url == m_fetchUrl; });
    if (known != m_decoded.end()) {
        if (known->bytes == body) {
            Q_EMIT pictureLoaded(known->picture);
            return;
        }
        m_decoded.erase(known);
    }
    m_decodingUrl = m_fetchUrl;
    m_decodingBytes = body;
    decodeAside([body] { return PictureDecoder::fromBytes(body); });
}

template <typename Work> void PictureLoader::decodeAside(Work work)
{
    auto decoding = std::make_shared<QPromise<QImage>>();
    m_decoding = new QFutureWatcher<QImage>(this);
    connect(m_decoding, &QFutureWatcherBase::finished, this, &PictureLoader::onDecoded);
    m_decoding->setFuture(decoding->future());
    // A decoding queued and never started (the pool is cleared) finishes its future cancelled.
    m_decoder.start([decoding, work] {
        decoding->start();
        decoding->addResult(work());
        decoding->finish();
    });
}

void PictureLoader::onDecoded()
{
    const QImage picture = m_decoding->future().resultCount() > 0 ? m_decoding->result() : QImage();
    m_decoding->deleteLater();
    m_decoding = nullptr;
    if (!m_decodingUrl.isEmpty()) {
        if (m_decoded.size() >= MaxRemembered)
            m_decoded.removeFirst();
        m_decoded.append(
            {std::exchange(m_decodingUrl, {}), std::exchange(m_decodingBytes, {}), picture});
    }
    Q_EMIT pictureLoaded(picture);
}

void PictureLoader::dropDecoding()
{
    // Its picture never comes; what is queued behind the one running never starts.
    if (m_decoding) {
        m_decoding->disconnect(this);
        m_decoding->deleteLater();
        m_decoding = nullptr;
    }
    m_decoder.clear();
    m_decodingUrl.clear();
    m_decodingBytes.clear();
}

} // namespace tarvell
