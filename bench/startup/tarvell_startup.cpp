// Tarvell's start-up as ui/main.cpp makes it, through the same set-up call, with the host from
// the command line and the first frame reported.

#include "bench/startup/firstframe.h"
#include "ui/application.h"
#include "ui/form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    const tarvell::bench::StartupOptions options = tarvell::bench::parseOptions(argc, argv, true);

    QApplication app(argc, argv);
    tarvell::setUpApplication();

    tarvell::Form1 form(options.host);
    tarvell::bench::FirstFrameReport report(&form, options.lingerMs);
    form.centerOnScreen();
    form.show();
    return QApplication::exec();
}
