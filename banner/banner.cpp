#include "banner/banner.h"

#include "banner/hiddenpage.h"
#include "banner/linkpolicy.h"
#include "banner/networkaccess.h"
#include "banner/pictureloader.h"
#include "core/checked.h"

#include <QDesktopServices>

namespace tarvell {

Banner::Banner(const QString &makerHost, QObject *parent)
    : QObject(parent), m_site(makerHost), m_network(new NetworkAccess(this)),
      m_page(new HiddenPage(m_network, this)), m_pictures(new PictureLoader(m_network, this))
{
    m_page->setObjectName(QStringLiteral("WebBrowser1"));
    connect(m_pictures, &PictureLoader::pictureLoaded, this, &Banner::pictureChanged);
}

void Banner::load()
{
    m_page->navigate(m_site.pageUrl());
}

void Banner::tick()
{
    // The reset after picture 3 keeps the counter far from overflowing; should it ever, that
    // is an error like any other counter's, never a wrap-around.
    m_bannerNo = checkedAdd(m_bannerNo, 1);
    m_pictures->LoadPicture(m_site.pictureUrl(m_bannerNo).toString());
    if (m_bannerNo == 3)
        m_bannerNo = 0;
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

void Banner::setFetchTimeouts(std::chrono::milliseconds inactivity,
                              std::chrono::milliseconds deadline)
{
    FetchLimits page = FetchLimits::forPage();
    FetchLimits picture = FetchLimits::forPicture();
    page.inactivity = picture.inactivity = inactivity;
    page.deadline = picture.deadline = deadline;
    m_page->setFetchLimits(page);
    m_pictures->setFetchLimits(picture);
}

} // namespace tarvell
