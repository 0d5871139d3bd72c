#include "banner/banner.h"

#include "banner/hiddenpage.h"
#include "banner/linkpolicy.h"
#include "banner/networkaccess.h"
#include "banner/pictureloader.h"

#include <QDesktopServices>

#include <utility>

namespace tarvell {

Banner::Banner(const QString &makerHost, QObject *parent)
    : QObject(parent), m_site(makerHost), m_network(new NetworkAccess(this)),
      m_page(new HiddenPage(m_network, this)), m_pictures(new PictureLoader(m_network, this))
{
    m_page->setObjectName(QStringLiteral("WebBrowser1"));
    m_network->setCachedAddresses(
        {m_site.pageUrl(), m_site.pictureUrl(1), m_site.pictureUrl(2), m_site.pictureUrl(3)});
    connect(m_pictures, &PictureLoader::pictureLoaded, this, &Banner::onPictureLoaded);
}

void Banner::load()
{
    m_page->navigate(m_site.pageUrl());
}

void Banner::tick()
{
    // One picture at a time: ticks that come while it loads merge into one, which runs once it
    // is there, so a slow site neither piles up fetches nor freezes the window.
    if (m_pictures->isLoading()) {
        m_tickWaiting = true;
        return;
    }
    // Between ticks the counter is 0, 1 or 2, so adding one can never overflow it.
    ++m_bannerNo;
    m_pictures->LoadPicture(m_site.pictureUrl(m_bannerNo).toString());
    if (m_bannerNo == 3)
        m_bannerNo = 0;
}

void Banner::onPictureLoaded(const QImage &picture)
{
    Q_EMIT pictureChanged(picture);
    if (std::exchange(m_tickWaiting, false))
        tick();
}

void Banner::bannerClicked()
{
    if (const std::optional<QUrl> target = LinkPolicy::linkTarget(m_page->text()))
        QDesktopServices::openUrl(*target);
}

void Banner::creditsClicked()
{
    QDesktopServices::openUrl(m_site.homeUrl());
}

QString Banner::pageText() const
{
    return m_page->text();
}

void Banner::setCacheDirectory(const QString &path)
{
    m_network->setCacheDirectory(path);
}

void Banner::setFetchTimeouts(std::chrono::milliseconds inactivity,
                              std::chrono::milliseconds deadline)
{
    m_network->setFetchTimeouts(inactivity, deadline);
}

} // namespace tarvell
