#pragma once

#include <QByteArray>
#include <QStringList>

namespace tarvell::bench {

// The cases the site can be served as, the benign one first.
QStringList hostileCases();

// Serves one case on a loopback port, prints the port on a line of its own and runs the event
// loop until the process is ended.
int serveHostileSite(const QByteArray &name);

} // namespace tarvell::bench
