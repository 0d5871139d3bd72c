#pragma once

#include "banner/fetchslot.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QImage>
#include <QList>
#include <QObject>
#include <QThreadPool>
#include <QUrl>

namespace tarvell {

class NetworkAccess;

// Loads a banner picture from a local path or an http(s) address. A picture that cannot be had
// is no error: it comes out as a null image.
class PictureLoader : public QObject
{
    Q_OBJECT
public:
    explicit PictureLoader(NetworkAccess *network, QObject *parent = nullptr);
    ~PictureLoader() override;

    // The result comes through pictureLoaded(), on this object's thread, once the picture is
    // read (a local file) or fetched (a web address) and decoded; the decoding runs on a
    // thread of its own, so that the window never waits for it. A new call abandons a fetch or
    // a decoding still under way, whose picture then never comes; a caller that wants every
    // picture waits for isLoading() to turn false.
    void LoadPicture(QString strFileName);
    bool isLoading() const { return m_fetch.isBusy() || m_decoding != nullptr; }

Q_SIGNALS:
    void pictureLoaded(const QImage &picture);

private:
    // The last pictures decoded from the web, with the bytes they came from: the rotation
    // shows the same few pictures over and over, mostly unchanged.
    struct Decoded
    {
        QUrl url;
        QByteArray bytes;
        QImage picture;
    };
    // One for each picture of the rotation.
    static constexpr qsizetype MaxRemembered = 3;

    void onFetched(bool ok, const QByteArray &body);
    // Hands the work to the decoding thread; what it gives comes to onDecoded().
    template <typename Work> void decodeAside(Work work);
    void onDecoded();
    void dropDecoding();

    FetchSlot m_fetch;
    QUrl m_fetchUrl;
    QList<Decoded> m_decoded;
    // The decoding under way, with what it decodes, to remember once it is done.
    QFutureWatcher<QImage> *m_decoding = nullptr;
    QUrl m_decodingUrl;
    QByteArray m_decodingBytes;
    // One thread, so that decodings never pile up; its own, so that the decoding under way
    // (short, by the decoder's bounds) ends before this object, and the application whose
    // image plugins it uses, are gone.
    QThreadPool m_decoder;
};

} // namespace tarvell
