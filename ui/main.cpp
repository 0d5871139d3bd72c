#include "ui/application.h"
#include "ui/commandline.h"
#include "ui/form1.h"

#include <QApplication>

#ifndef TARVELL_MAKER_HOST
#error "TARVELL_MAKER_HOST must name the maker's host"
#endif

int main(int argc, char *argv[])
{
    if (const auto exitCode = tarvell::answerCommandLine(argc, argv))
        return *exitCode;

    QApplication app(argc, argv);
    tarvell::setUpApplication();

    tarvell::Form1 form(QStringLiteral(TARVELL_MAKER_HOST));
    form.centerOnScreen();
    form.show();
    return QApplication::exec();
}
