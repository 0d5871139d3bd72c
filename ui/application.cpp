#include "ui/application.h"

#include "ui/appearance.h"
#include "ui/version.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

namespace tarvell {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Tarvell"));
    QApplication::setApplicationVersion(QStringLiteral(TARVELL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(TARVELL_APP_ID));
    // The window completes it once its first frame is on screen.
    QApplication::setWindowIcon(programIcon(kFirstFrameIconSize));
    // Banner pictures come from the network; a broken one only leaves the banner empty, so the
    // decoder's complaints about it are noise (QT_LOGGING_RULES still overrides this).
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg.warning=false"));
    loadQtTranslations();
}

void loadQtTranslations()
{
    const QString name = QStringLiteral("qtbase");
    QCoreApplication *app = QCoreApplication::instance();
    // A translator removes itself from the application when deleted.
    delete app->findChild<QTranslator *>(name, Qt::FindDirectChildrenOnly);
    auto *translator = new QTranslator(app);
    translator->setObjectName(name);
    if (translator->load(QLocale(), name, QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace tarvell
