#pragma once

#include <QByteArray>
#include <QObject>
#include <QTcpServer>

#include <chrono>

class QTcpSocket;

namespace tarvell::bench {

// An HTTP server on 127.0.0.1 that wastes its clients' time. Meant to live in a thread of its
// own, so that a client blocking the main thread still gets (not) served.
class StallingServer : public QObject
{
    Q_OBJECT
public:
    enum class Mode {
        // Accepts, reads the request, and never says a word.
        NeverAnswer,
        // Answers 200 with a large body, one byte per interval.
        Drip,
        // Serves the hidden page as markup nested as deep as its size cap allows, and
        // never answers for pictures.
        HostilePage,
    };

    StallingServer(Mode mode, std::chrono::milliseconds dripInterval, QObject *parent = nullptr);

    // Call in the server's thread; returns the port, 0 on failure.
    quint16 listen();

private:
    void onNewConnection();
    void onRequest(QTcpSocket *socket);

    QTcpServer *m_server;
    Mode m_mode;
    std::chrono::milliseconds m_dripInterval;
};

} // namespace tarvell::bench
