#include "ui/application.h"

#include "ui/appearance.h"

#include <QApplication>

namespace tarvell {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Tarvell"));
    QApplication::setApplicationVersion(QStringLiteral(TARVELL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(TARVELL_APP_ID));
    QApplication::setWindowIcon(programIcon());
}

} // namespace tarvell
