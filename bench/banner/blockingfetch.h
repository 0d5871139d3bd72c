#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

namespace tarvell::bench {

// The naive way to load a banner picture: a GET done to the end on the calling thread with
// blocking socket calls, as a synchronous picture loader does. Only here to be measured.
class BlockingFetch
{
public:
    // Each wait gives up after waitMs (Qt's default for waitFor* is 30 s); stopAt ends the
    // whole fetch, so that a measurement run ends on time.
    static QByteArray get(const QString &host, quint16 port, const QByteArray &path, int waitMs,
                          QDeadlineTimer stopAt);
};

} // namespace tarvell::bench
