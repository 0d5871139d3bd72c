#include "ui/bannermodule.h"

#include "banner/bannersession.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPluginLoader>
#include <QStringList>

#ifndef TARVELL_BANNER_MODULE_DIR
#error "TARVELL_BANNER_MODULE_DIR must give the module's directory relative to the executable's"
#endif

namespace tarvell {

namespace {

BannerFactory *loadFactory()
{
    const QString name = QStringLiteral(TARVELL_BANNER_MODULE_FILE);
    // Absolute paths only: a bare name would make the loader try the working directory too.
    QStringList dirs{QCoreApplication::applicationDirPath() +
                     QStringLiteral("/" TARVELL_BANNER_MODULE_DIR)};
    dirs += QCoreApplication::libraryPaths();
    QStringList failures;
    for (const QString &dir : dirs) {
        const QFileInfo file(dir + QLatin1Char('/') + name);
        if (!file.isFile())
            continue;
        QPluginLoader loader(file.absoluteFilePath());
        if (auto *factory = qobject_cast<BannerFactory *>(loader.instance()))
            return factory;
        failures << loader.errorString();
    }
    qWarning("Tarvell: the banner module %s could not be loaded (%s); the banner stays still.",
             qPrintable(name),
             qPrintable(failures.isEmpty() ? QStringLiteral("not found") : failures.join(u"; ")));
    return nullptr;
}

} // namespace

BannerFactory *bannerFactory()
{
    // Kept once loaded; after a failure the next window's load event tries again.
    static BannerFactory *factory = nullptr;
    if (!factory)
        factory = loadFactory();
    return factory;
}

} // namespace tarvell
