#include "ui/application.h"

#include "ui/appearance.h"

#include <QApplication>
#include <QLoggingCategory>

namespace tarvell {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Tarvell"));
    QApplication::setApplicationVersion(QStringLiteral(TARVELL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(TARVELL_APP_ID));
    QApplication::setWindowIcon(programIcon());
    // Banner pictures come from the network; a broken one only leaves the banner empty, so the
    // decoder's complaints about it are noise (QT_LOGGING_RULES still overrides this).
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg.warning=false"));
}

} // namespace tarvell
