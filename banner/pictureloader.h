#pragma once

#include "banner/fetchslot.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>
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

    // The result comes through pictureLoaded(): at once for a local file, once fetched for a
    // web address. A new call abandons a fetch still in flight, whose picture then never comes;
    // a caller that wants every picture waits for isLoading() to turn false.
    void LoadPicture(QString strFileName);
    bool isLoading() const { return m_fetch.isBusy(); }

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
    QImage decode(const QUrl &url, const QByteArray &body);

    FetchSlot m_fetch;
    QUrl m_fetchUrl;
    QList<Decoded> m_decoded;
};

} // namespace tarvell
