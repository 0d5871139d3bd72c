#pragma once

#include "banner/fetchlimits.h"

#include <QImage>
#include <QObject>

namespace tarvell {

class BoundedFetch;
class NetworkAccess;

// Loads a banner picture from a local path or an http(s) address. A picture that cannot be had
// is no error: it comes out as a null image.
class PictureLoader : public QObject
{
    Q_OBJECT
public:
    explicit PictureLoader(NetworkAccess *network, QObject *parent = nullptr);

    void setFetchLimits(const FetchLimits &limits) { m_limits = limits; }

    // The result comes through pictureLoaded(): at once for a local file, once fetched for a
    // web address. A new call abandons a fetch still in flight, whose picture then never comes,
    // so pictures never arrive out of order and requests never pile up.
    void LoadPicture(QString strFileName);

Q_SIGNALS:
    void pictureLoaded(const QImage &picture);

private:
    void onFetched(bool ok, const QByteArray &body);
    void abandonFetch();

    NetworkAccess *m_network;
    BoundedFetch *m_fetch = nullptr;
    FetchLimits m_limits = FetchLimits::forPicture();
};

} // namespace tarvell
