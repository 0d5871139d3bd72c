#include "stallingserver.h"

#include "banner/fetchlimits.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

namespace tarvell::bench {

namespace {

QByteArray nestedPage()
{
    // Deep nesting is where Qt's HTML parser costs the most per byte.
    const qint64 cap = FetchLimits::forPage().maxBytes;
    QByteArray page;
    while (page.size() + 4 <= cap)
        page += "<ul>";
    return page;
}

} // namespace

StallingServer::StallingServer(Mode mode, std::chrono::milliseconds dripInterval, QObject *parent)
    : QObject(parent), m_server(new QTcpServer(this)), m_mode(mode), m_dripInterval(dripInterval)
{
    connect(m_server, &QTcpServer::newConnection, this, &StallingServer::onNewConnection);
}

quint16 StallingServer::listen()
{
    return m_server->listen(QHostAddress::LocalHost) ? m_server->serverPort() : 0;
}

void StallingServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onRequest(socket); });
    }
}

void StallingServer::onRequest(QTcpSocket *socket)
{
    const QByteArray head = socket->readAll();
    // One request per connection: later bytes on it are ignored.
    if (socket->property("answered").toBool() || !head.startsWith("GET "))
        return;
    socket->setProperty("answered", true);

    const bool isPage = head.startsWith("GET /zintu/zintu.htm ");
    if (m_mode == Mode::HostilePage && isPage) {
        const QByteArray page = nestedPage();
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                      QByteArray::number(page.size()) + "\r\nConnection: close\r\n\r\n" + page);
        socket->disconnectFromHost();
        return;
    }
    if (m_mode != Mode::Drip)
        return;

    socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 100000\r\n"
                  "Connection: close\r\n\r\n");
    auto *drip = new QTimer(socket);
    connect(drip, &QTimer::timeout, socket, [socket] { socket->write("\xFF", 1); });
    drip->start(m_dripInterval);
}

} // namespace tarvell::bench
