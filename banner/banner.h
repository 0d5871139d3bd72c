#pragma once

#include "banner/makersite.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <chrono>

namespace tarvell {

class HiddenPage;
class NetworkAccess;
class PictureLoader;

// The maker's web banner: the hidden page whose text is the banner's link, the rotation of
// the three pictures, and the two click-through links. It knows nothing of widgets; the window
// forwards its load event, its timer and the two clicks, and shows what pictureChanged() gives.
// Nothing here ever waits on the network.
class Banner : public QObject
{
    Q_OBJECT
public:
    // host may carry a port, e.g. "127.0.0.1:8765".
    explicit Banner(const QString &makerHost, QObject *parent = nullptr);

    // The window's load event: starts fetching the hidden page and returns at once.
    void load();
    // One tick of the rotation timer: the next of pictures 1, 2, 3, 1, ... A tick that comes
    // while a picture is still on its way waits until that fetch is over, and several waiting
    // ticks count as one: every picture is shown, late and in order. Never throws.
    void tick();
    // Opens the page's text if it is a single plain web address; otherwise nothing happens.
    void bannerClicked();
    // Opens the maker's home address.
    void creditsClicked();

    qint16 BannerNo() const { return m_bannerNo; }
    QString homeAddress() const { return m_site.homeAddress(); }
    QString pageText() const;

    // How long a fetch may stay silent, and how long it may take at all. The defaults suit the
    // real site; tests shorten them.
    void setFetchTimeouts(std::chrono::milliseconds inactivity, std::chrono::milliseconds deadline);
    // Where the page and the pictures are cached; an empty path turns the cache off. By default
    // a folder in the user's cache location. Takes effect only before load() and the first tick.
    void setCacheDirectory(const QString &path);

Q_SIGNALS:
    // A null image means: show an empty banner. Other sizes than 468 x 60 come as they are.
    void pictureChanged(const QImage &picture);

private:
    void onPictureLoaded(const QImage &picture);

    MakerSite m_site;
    NetworkAccess *m_network;
    HiddenPage *m_page;
    PictureLoader *m_pictures;
    qint16 m_bannerNo = 0;
    bool m_tickWaiting = false;
};

} // namespace tarvell
