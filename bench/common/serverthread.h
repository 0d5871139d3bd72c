#pragma once

#include <QMetaObject>
#include <QString>
#include <QThread>

namespace tarvell::bench {

// A local server running in a thread of its own for as long as this lives, so that its answers
// never wait on the event loop being measured. Server is a QObject with `quint16 listen()`.
template <typename Server> class ServerThread
{
public:
    // Takes the server over; it goes with the thread.
    explicit ServerThread(Server *server) : m_server(server)
    {
        m_server->moveToThread(&m_thread);
        m_thread.start();
        QMetaObject::invokeMethod(m_server, &Server::listen, Qt::BlockingQueuedConnection, &m_port);
    }
    ~ServerThread()
    {
        QMetaObject::invokeMethod(m_server, &QObject::deleteLater);
        m_thread.quit();
        m_thread.wait();
    }
    ServerThread(const ServerThread &) = delete;
    ServerThread &operator=(const ServerThread &) = delete;

    quint16 port() const { return m_port; }
    // "127.0.0.1:<port>", as the banner takes it.
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    // For what the server makes safe to ask from another thread.
    const Server *operator->() const { return m_server; }

private:
    QThread m_thread;
    Server *m_server;
    quint16 m_port = 0;
};

} // namespace tarvell::bench
