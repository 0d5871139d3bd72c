#include "banner/boundedfetch.h"

#include "banner/bannercache.h"
#include "banner/networkaccess.h"
#include "banner/weburl.h"

#include <QTcpSocket>
#include <QTimer>
#if QT_CONFIG(ssl)
#include <QSslSocket>
#endif

#include <functional>

namespace tarvell {

namespace {

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The one place that knows TLS: a plain-http fetch must not even touch QSslSocket, whose first
// use loads Qt's TLS backend and the TLS library with it. ready runs once the request may go.
// The sockets take the application's proxy, which is none unless the program sets one.
QTcpSocket *openConnection(const QUrl &url, QObject *parent, std::function<void()> ready)
{
    const bool tls = url.scheme() == u"https";
    QTcpSocket *socket = nullptr;
#if QT_CONFIG(ssl)
    if (tls) {
        // Qt's default configuration: the peer verified against the system's CAs. Any TLS
        // error then ends the handshake, and with it the fetch.
        auto *secure = new QSslSocket(parent);
        QObject::connect(secure, &QSslSocket::encrypted, parent, std::move(ready));
        secure->setReadBufferSize(BoundedFetch::SocketBufferBytes);
        secure->connectToHostEncrypted(url.host(QUrl::FullyEncoded), quint16(url.port(443)));
        return secure;
    }
#else
    // Built without TLS: https cannot be had; the connection to nowhere fails at once.
    if (tls)
        return nullptr;
#endif
    socket = new QTcpSocket(parent);
    QObject::connect(socket, &QTcpSocket::connected, parent, std::move(ready));
    socket->setReadBufferSize(BoundedFetch::SocketBufferBytes);
    socket->connectToHost(url.host(QUrl::FullyEncoded), quint16(url.port(80)));
    return socket;
}

QByteArray requestHead(const QUrl &url, const QList<std::pair<QByteArray, QByteArray>> &extra)
{
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    const int defaultPort = url.scheme() == u"https" ? 443 : 80;
    if (url.port(defaultPort) != defaultPort)
        host += ':' + QByteArray::number(url.port());

    // Identity only: the size cap then counts the bytes that are really kept.
    QByteArray head = "GET " + target + " HTTP/1.1\r\nHost: " + host +
                      "\r\nUser-Agent: Tarvell/" TARVELL_VERSION
                      "\r\nAccept-Encoding: identity\r\nConnection: close\r\n";
    for (const auto &[name, value] : extra)
        head += name + ": " + value + "\r\n";
    return head + "\r\n";
}

} // namespace

BoundedFetch::BoundedFetch(NetworkAccess *network, const QUrl &url, const FetchLimits &limits,
                           QObject *parent)
    : QObject(parent), m_cache(network->cache()), m_address(url), m_limits(limits),
      m_deadline(new QTimer(this)), m_inactivity(new QTimer(this))
{
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, [this] { conclude(false); });
    m_deadline->start(limits.deadline);
    m_inactivity->setSingleShot(true);
    m_inactivity->setInterval(limits.inactivity);
    connect(m_inactivity, &QTimer::timeout, this, [this] { conclude(false); });

    // Even an answer the cache has at hand comes later, once the owner listens.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_reporting)
                return;
            if (const std::optional<BannerCache::Answer> fresh = m_cache->freshAnswer(m_address)) {
                m_contentType = fresh->contentType;
                conclude(true, fresh->body);
                return;
            }
            request(m_address);
        },
        Qt::QueuedConnection);
}

BoundedFetch::~BoundedFetch()
{
    releaseSocket();
}

void BoundedFetch::abandon()
{
    m_reporting = false;
    releaseSocket();
    m_deadline->stop();
    m_inactivity->stop();
}

void BoundedFetch::request(const QUrl &url)
{
    releaseSocket();
    m_url = url;
    m_response.emplace(m_limits.maxBytes);
    if (!isWebAddress(url)) {
        conclude(false);
        return;
    }
    // Only the banner's own address is asked to confirm what the cache holds.
    const QList<std::pair<QByteArray, QByteArray>> conditions =
        m_redirects == 0 ? m_cache->conditionalHeaders(url)
                         : QList<std::pair<QByteArray, QByteArray>>();
    m_conditional = !conditions.isEmpty();
    const QByteArray head = requestHead(url, conditions);
    m_socket = openConnection(url, this, [this, head] {
        m_inactivity->start();
        m_socket->write(head);
    });
    if (!m_socket) {
        conclude(false);
        return;
    }
    connect(m_socket, &QTcpSocket::readyRead, this, &BoundedFetch::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &BoundedFetch::onDisconnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &BoundedFetch::onSocketError);
    m_inactivity->start();
}

void BoundedFetch::onReadyRead()
{
    if (!m_socket)
        return;
    m_inactivity->start();
    // At most one buffer's worth per call, so that the event loop gets its turn between them.
    m_response->feed(m_socket->read(SocketBufferBytes));
    advance();
    if (m_socket && m_socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &BoundedFetch::onReadyRead, Qt::QueuedConnection);
}

void BoundedFetch::onDisconnected()
{
    if (!m_socket)
        return;
    // What came before the close is still to be read; the socket never holds more than its
    // buffer.
    m_response->feed(m_socket->readAll());
    m_response->finish();
    advance();
}

void BoundedFetch::onSocketError(QAbstractSocket::SocketError error)
{
    if (error == QAbstractSocket::RemoteHostClosedError)
        onDisconnected();
    else
        conclude(false);
}

void BoundedFetch::advance()
{
    if (!m_socket)
        return;
    const HttpResponse &response = *m_response;
    if (response.state() == HttpResponse::State::Failed) {
        conclude(false);
        return;
    }
    if (!response.hasHead())
        return;
    const int status = response.status();
    if (isRedirect(status)) {
        followRedirect();
        return;
    }
    if (status == 304 && m_conditional) {
        const std::optional<BannerCache::Answer> stored =
            m_cache->confirmAnswer(m_address, response);
        if (stored)
            m_contentType = stored->contentType;
        conclude(stored.has_value(), stored ? stored->body : QByteArray());
        return;
    }
    if (status != 200) {
        conclude(false);
        return;
    }
    if (response.state() != HttpResponse::State::Done)
        return;
    // What a redirect led to is not the banner's own address, and is not kept.
    if (m_redirects == 0)
        m_cache->storeAnswer(m_address, response);
    m_contentType = response.header("content-type");
    conclude(true, response.body());
}

void BoundedFetch::followRedirect()
{
    const QUrl target = m_url.resolved(QUrl::fromEncoded(m_response->header("location")))
                            .adjusted(QUrl::RemoveFragment);
    // Never from https down to plain http, never to anything but a web address.
    const bool lessSafe = m_url.scheme() == u"https" && target.scheme() != u"https";
    if (++m_redirects > m_limits.maxRedirects || !isWebAddress(target) || lessSafe ||
        m_response->header("location").isEmpty()) {
        conclude(false);
        return;
    }
    request(target);
}

void BoundedFetch::conclude(bool ok, const QByteArray &body)
{
    if (!m_reporting)
        return;
    m_reporting = false;
    releaseSocket();
    m_deadline->stop();
    m_inactivity->stop();
    if (!ok)
        m_contentType.clear();
    Q_EMIT finished(ok, ok ? body : QByteArray());
}

void BoundedFetch::releaseSocket()
{
    if (!m_socket)
        return;
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    // Perhaps inside one of its own signals.
    socket->deleteLater();
}

} // namespace tarvell
