// The banner module's entry point: a factory of BannerSessions over the static banner library.

#include "banner/banner.h"
#include "banner/bannersession.h"

#include <QtPlugin>

#include <utility>

namespace tarvell {

namespace {

class ModuleSession final : public BannerSession
{
public:
    ModuleSession(const QString &makerHost, BannerFactory::PictureSink onPicture)
        : m_banner(makerHost)
    {
        // Connected here, inside the module, where Banner's metaobject lives.
        QObject::connect(&m_banner, &Banner::pictureChanged, &m_banner,
                         [sink = std::move(onPicture)](const QImage &picture) { sink(picture); });
    }

    void load() override { m_banner.load(); }
    void tick() override { m_banner.tick(); }
    void bannerClicked() override { m_banner.bannerClicked(); }
    void creditsClicked() override { m_banner.creditsClicked(); }
    qint16 BannerNo() const override { return m_banner.BannerNo(); }
    QString pageText() const override { return m_banner.pageText(); }

private:
    Banner m_banner;
};

} // namespace

class BannerModule : public QObject, public BannerFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TarvellBannerFactory_iid)
    Q_INTERFACES(tarvell::BannerFactory)

public:
    std::unique_ptr<BannerSession> create(const QString &makerHost, PictureSink onPicture) override
    {
        return std::make_unique<ModuleSession>(makerHost, std::move(onPicture));
    }
};

} // namespace tarvell

#include "bannermodule.moc"
