#include "blockingfetch.h"

#include <QTcpSocket>

namespace tarvell::bench {

QByteArray BlockingFetch::get(const QString &host, quint16 port, const QByteArray &path, int waitMs,
                              QDeadlineTimer stopAt)
{
    auto wait = [&] { return int(qMin<qint64>(waitMs, qMax<qint64>(1, stopAt.remainingTime()))); };

    QTcpSocket socket;
    socket.connectToHost(host, port);
    if (!socket.waitForConnected(wait()))
        return {};
    socket.write("GET " + path + " HTTP/1.1\r\nHost: " + host.toLatin1() +
                 "\r\nConnection: close\r\n\r\n");
    if (!socket.waitForBytesWritten(wait()))
        return {};

    QByteArray answer;
    while (!stopAt.hasExpired() && socket.waitForReadyRead(wait()))
        answer += socket.readAll();
    return answer;
}

} // namespace tarvell::bench
