#include "soakserver.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace tarvell::bench {

namespace {

const QByteArray Page = "http://maker.example/";
const QByteArray LastModified = "Mon, 07 Dec 2026 10:00:00 GMT";

QByteArray headerValue(const QByteArray &head, QByteArrayView name)
{
    for (const QByteArray &line : head.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

} // namespace

SoakServer::SoakServer(Caching caching, const QList<QByteArray> &pictures,
                       std::chrono::milliseconds delay, bool hang, QObject *parent)
    : QObject(parent), m_server(new QTcpServer(this)), m_caching(caching), m_pictures(pictures),
      m_delay(delay), m_hang(hang)
{
    connect(m_server, &QTcpServer::newConnection, this, &SoakServer::onNewConnection);
}

quint16 SoakServer::listen()
{
    return m_server->listen(QHostAddress::LocalHost) ? m_server->serverPort() : 0;
}

SoakServer::Counts SoakServer::counts() const
{
    return {m_requests.load(), m_fullAnswers.load(), m_notModified.load(), m_bytes.load()};
}

void SoakServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onRequest(socket); });
    }
}

void SoakServer::onRequest(QTcpSocket *socket)
{
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    if (!head.contains("\r\n\r\n")) {
        socket->setProperty("head", head);
        return;
    }
    // One request per connection; the answer closes it.
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    ++m_requests;
    const QByteArray path = head.left(head.indexOf("\r\n")).split(' ').value(1);
    const bool picture = path.startsWith("/zintu/") && path.endsWith(".jpg");
    if (picture && m_hang)
        return;
    if (picture && m_delay.count() > 0)
        QTimer::singleShot(m_delay, socket,
                           [this, socket, path, head] { answer(socket, path, head); });
    else
        answer(socket, path, head);
}

void SoakServer::answer(QTcpSocket *socket, const QByteArray &path, const QByteArray &requestHead)
{
    QByteArray body;
    QByteArray type = "image/jpeg";
    if (path == "/zintu/zintu.htm") {
        body = Page;
        type = "text/html";
    } else if (path.size() == 12 && path.startsWith("/zintu/") && path.endsWith(".jpg")) {
        body = m_pictures.value(path.at(7) - '1');
    }

    const QByteArray etag = '"' + QByteArray::number(qHash(body), 16) + '"';
    QByteArray status = "200 OK";
    QByteArray headers;
    if (body.isEmpty()) {
        status = "404 Not Found";
    } else if (m_caching != Caching::None) {
        headers += m_caching == Caching::Fresh ? "Cache-Control: max-age=3600\r\n"
                                               : "Cache-Control: no-cache\r\n";
        headers += "ETag: " + etag + "\r\nLast-Modified: " + LastModified + "\r\n";
        if (headerValue(requestHead, "If-None-Match") == etag ||
            headerValue(requestHead, "If-Modified-Since") == LastModified) {
            status = "304 Not Modified";
            body.clear();
        }
    }
    if (status.startsWith("304"))
        ++m_notModified;
    else
        ++m_fullAnswers;

    const QByteArray answer = "HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\n" +
                              headers + "Content-Length: " + QByteArray::number(body.size()) +
                              "\r\nConnection: close\r\n\r\n" + body;
    m_bytes += answer.size();
    socket->write(answer);
    socket->disconnectFromHost();
}

} // namespace tarvell::bench
