#pragma once

// The banner as the window sees it once the banner module is loaded at run time. The module
// carries Qt Network and everything it maps; the program only includes this header and never
// links the module, so a start-up pays for none of it until the first frame is on screen.
//
// Plain abstract classes on purpose: a QObject type compiled into both sides would have two
// metaobjects, and connections to it across the boundary would not match.

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace tarvell {

// One Banner behind the module boundary; see banner/banner.h for what each call does.
class BannerSession
{
public:
    virtual ~BannerSession() = default;

    virtual void load() = 0;
    virtual void tick() = 0;
    virtual void bannerClicked() = 0;
    virtual void creditsClicked() = 0;

    virtual qint16 BannerNo() const = 0;
    virtual QString pageText() const = 0;
};

// What the module exports: makes sessions. The window passes a callback for the pictures.
class BannerFactory
{
public:
    using PictureSink = std::function<void(const QImage &)>;

    virtual ~BannerFactory() = default;
    virtual std::unique_ptr<BannerSession> create(const QString &makerHost,
                                                  PictureSink onPicture) = 0;
};

} // namespace tarvell

#define TarvellBannerFactory_iid "com.example.tarvell.BannerFactory/1"
Q_DECLARE_INTERFACE(tarvell::BannerFactory, TarvellBannerFactory_iid)
