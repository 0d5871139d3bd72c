#include "fakehttpserver.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace tarvell::test {

namespace {

// Request heads of the banner are a few hundred bytes; anything larger is a broken client.
constexpr qsizetype MaxRequestHead = 16 * 1024;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 304:
        return "Not Modified";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Whatever";
    }
}

QByteArray pathOf(const QByteArray &requestLine)
{
    return requestLine.split(' ').value(1);
}

} // namespace

FakeHttpServer::Route FakeHttpServer::answer(const QByteArray &body, const QByteArray &contentType,
                                             int status)
{
    Route route;
    route.status = status;
    route.body = body;
    route.headers.append({"Content-Type", contentType});
    return route;
}

FakeHttpServer::Route FakeHttpServer::redirect(const QByteArray &location)
{
    // With a body, as real servers send one: it must not be taken for the answer.
    Route route = answer("<a href=\"" + location + "\">Moved</a>", "text/html", 302);
    route.headers.append({"Location", location});
    return route;
}

FakeHttpServer::Route FakeHttpServer::neverAnswer()
{
    Route route;
    route.behaviour = Route::Behaviour::NeverAnswer;
    return route;
}

FakeHttpServer::Route FakeHttpServer::drip(const QByteArray &body,
                                           std::chrono::milliseconds interval)
{
    Route route = answer(body);
    route.behaviour = Route::Behaviour::Drip;
    route.dripInterval = interval;
    return route;
}

FakeHttpServer::Route FakeHttpServer::raw(const QByteArray &bytes)
{
    Route route;
    route.behaviour = Route::Behaviour::Raw;
    route.body = bytes;
    return route;
}

FakeHttpServer::Route FakeHttpServer::endless(const QByteArray &start, const QByteArray &repeated)
{
    Route route = raw(start);
    route.behaviour = Route::Behaviour::Endless;
    route.repeated = repeated;
    return route;
}

FakeHttpServer::Route FakeHttpServer::cached(const QByteArray &body, const QByteArray &cacheHeader,
                                             const QByteArray &etag, const QByteArray &lastModified)
{
    Route route = answer(body);
    const qsizetype colon = cacheHeader.indexOf(':');
    if (colon > 0)
        route.headers.append({cacheHeader.left(colon), cacheHeader.mid(colon + 1).trimmed()});
    route.etag = etag;
    route.lastModified = lastModified;
    return route;
}

FakeHttpServer::FakeHttpServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &FakeHttpServer::onNewConnection);
}

bool FakeHttpServer::listen()
{
    if (!m_server.listen(QHostAddress::LocalHost, m_port))
        return false;
    m_port = m_server.serverPort();
    return true;
}

void FakeHttpServer::refuseConnections()
{
    m_server.close();
}

bool FakeHttpServer::acceptConnections()
{
    return listen();
}

QString FakeHttpServer::host() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

void FakeHttpServer::setRoute(const QByteArray &path, const Route &route)
{
    m_routes.insert(path, route);
}

QList<QByteArray> FakeHttpServer::requestedPaths() const
{
    QList<QByteArray> paths;
    for (const QByteArray &line : m_requestLines)
        paths.append(pathOf(line));
    return paths;
}

void FakeHttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        ++m_connections;
        socket->setParent(this);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] {
            m_pending.remove(socket);
            m_inFlight.remove(socket);
        });
        m_pending.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
    }
}

void FakeHttpServer::onReadyRead(QTcpSocket *socket)
{
    // One request per connection: whatever follows the first head is ignored.
    const auto pendingIt = m_pending.find(socket);
    if (pendingIt == m_pending.end()) {
        socket->readAll();
        return;
    }
    const QByteArray pending = *pendingIt + socket->readAll();
    if (!pending.contains("\r\n\r\n")) {
        if (pending.size() > MaxRequestHead)
            socket->abort();
        else
            *pendingIt = pending;
        return;
    }
    m_pending.erase(pendingIt);
    m_inFlight.insert(socket);
    const QByteArray requestLine = pending.left(pending.indexOf("\r\n"));
    const QByteArray path = pathOf(requestLine);
    m_requestLines.append(requestLine);
    Q_EMIT requested(path);

    Route route;
    route.status = 404;
    route = m_routes.value(path, route);
    if (route.etagChangesEveryAnswer)
        route.etag = '"' + QByteArray::number(++m_answers) + '"';
    else if (isNotModified(pending, route)) {
        ++m_notModified;
        route.status = 304;
        route.body.clear();
        route.announceLength = false;
    }
    serve(socket, route);
}

bool FakeHttpServer::isNotModified(const QByteArray &requestHead, const Route &route)
{
    if (route.status != 200)
        return false;
    const QList<QByteArray> lines = requestHead.left(requestHead.indexOf("\r\n\r\n")).split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if ((name == "if-none-match" && !route.etag.isEmpty() && value == route.etag) ||
            (name == "if-modified-since" && !route.lastModified.isEmpty() &&
             value == route.lastModified))
            return true;
    }
    return false;
}

void FakeHttpServer::serve(QTcpSocket *socket, const Route &route)
{
    using Behaviour = Route::Behaviour;
    if (route.behaviour == Behaviour::NeverAnswer)
        return;
    if (route.behaviour == Behaviour::Raw) {
        socket->write(route.body);
        socket->disconnectFromHost();
        return;
    }
    if (route.behaviour == Behaviour::Endless) {
        sendEndlessly(socket, route);
        return;
    }

    if (route.behaviour == Behaviour::Drip) {
        socket->write(head(route, route.body.size()));
        auto *dripper = new QTimer(socket);
        auto sent = std::make_shared<qsizetype>(0);
        connect(dripper, &QTimer::timeout, socket, [socket, dripper, sent, body = route.body] {
            if (*sent >= body.size()) {
                dripper->stop();
                socket->disconnectFromHost();
                return;
            }
            socket->write(body.mid((*sent)++, 1));
        });
        dripper->start(route.dripInterval);
        return;
    }

    auto send = [socket, route] {
        socket->write(head(route, route.body.size()));
        socket->write(route.body);
        socket->disconnectFromHost();
    };
    if (route.delay.count() > 0)
        QTimer::singleShot(route.delay, socket, send);
    else
        send();
}

void FakeHttpServer::sendEndlessly(QTcpSocket *socket, const Route &route)
{
    // Kept a little ahead of the client, so that the sender costs nothing while it is held
    // back, and stops with the client or after a while.
    constexpr qint64 Ahead = 256 * 1024;
    QByteArray block;
    while (block.size() < 16 * 1024)
        block += route.repeated;
    socket->write(route.body);
    auto refill = [socket, block] {
        while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < Ahead)
            socket->write(block);
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, refill);
    QTimer::singleShot(EndlessFor, socket, [socket] { socket->abort(); });
    refill();
}

QByteArray FakeHttpServer::head(const Route &route, qint64 bodySize)
{
    QByteArray head =
        "HTTP/1.1 " + QByteArray::number(route.status) + ' ' + reasonPhrase(route.status) + "\r\n";
    for (const auto &[name, value] : route.headers)
        head += name + ": " + value + "\r\n";
    if (!route.etag.isEmpty())
        head += "ETag: " + route.etag + "\r\n";
    if (!route.lastModified.isEmpty())
        head += "Last-Modified: " + route.lastModified + "\r\n";
    if (route.announceLength)
        head += "Content-Length: " + QByteArray::number(bodySize) + "\r\n";
    head += "Connection: close\r\n\r\n";
    return head;
}

} // namespace tarvell::test
