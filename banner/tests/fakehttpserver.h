#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTcpServer>

#include <chrono>

class QTcpSocket;

namespace tarvell::test {

// A small HTTP/1.1 server on 127.0.0.1 that answers each path the way a test asks: well, badly,
// slowly or never. Every answer closes its connection, so no state carries between requests.
class FakeHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Route
    {
        enum class Behaviour { Answer, NeverAnswer, Drip, Raw, Endless };

        Behaviour behaviour = Behaviour::Answer;
        int status = 200;
        QByteArray body;
        QList<std::pair<QByteArray, QByteArray>> headers;
        // Whether Content-Length is sent; without it the body ends with the connection.
        bool announceLength = true;
        // Waited before answering.
        std::chrono::milliseconds delay{0};
        // For Drip: one byte of the body per interval.
        std::chrono::milliseconds dripInterval{100};
        // Validators, sent with the answer. A request that names the one or the other
        // (If-None-Match, If-Modified-Since) gets 304 Not Modified with no body.
        QByteArray etag;
        QByteArray lastModified;
        // A validator of its own for every answer (etag with a count), never confirmed.
        bool etagChangesEveryAnswer = false;
        // For Raw: body is sent as it is, status line and headers included. For Endless: body
        // first, then this over and over, as fast as the client reads, until it closes or
        // EndlessFor has passed.
        QByteArray repeated;
    };

    // How long an endless sender goes on at most when the client does not close.
    static constexpr std::chrono::milliseconds EndlessFor{5000};

    static Route answer(const QByteArray &body, const QByteArray &contentType = "image/jpeg",
                        int status = 200);
    static Route redirect(const QByteArray &location);
    static Route neverAnswer();
    static Route drip(const QByteArray &body, std::chrono::milliseconds interval);
    // Bytes sent as they are, then the connection closed.
    static Route raw(const QByteArray &bytes);
    static Route endless(const QByteArray &start, const QByteArray &repeated);
    // An answer with one caching header ("Cache-Control: no-cache", "Expires: ..."; none when
    // empty) and the given validators.
    static Route cached(const QByteArray &body, const QByteArray &cacheHeader,
                        const QByteArray &etag, const QByteArray &lastModified = {});

    explicit FakeHttpServer(QObject *parent = nullptr);

    bool listen();
    // Closes the listening socket, so that connections are refused, and opens it again on the
    // same port.
    void refuseConnections();
    bool acceptConnections();

    quint16 port() const { return m_port; }
    // "127.0.0.1:<port>", as the banner takes it.
    QString host() const;

    // Paths without a route get an empty 404.
    void setRoute(const QByteArray &path, const Route &route);
    QList<QByteArray> requestedPaths() const;
    // The first line of each request, such as "GET /zintu/1.jpg HTTP/1.1".
    QList<QByteArray> requestLines() const { return m_requestLines; }
    // How many requests were answered 304 Not Modified.
    int notModifiedCount() const { return m_notModified; }
    int connectionCount() const { return m_connections; }
    // Requests received on connections that neither side has closed yet. Idle connections do
    // not count: Qt may open one ahead of need.
    qsizetype requestsInFlight() const { return m_inFlight.size(); }

Q_SIGNALS:
    void requested(const QByteArray &path);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void serve(QTcpSocket *socket, const Route &route);
    static void sendEndlessly(QTcpSocket *socket, const Route &route);
    static QByteArray head(const Route &route, qint64 bodySize);
    static bool isNotModified(const QByteArray &requestHead, const Route &route);

    QTcpServer m_server;
    quint16 m_port = 0;
    QHash<QByteArray, Route> m_routes;
    // Request heads still being received, by connection.
    QHash<QTcpSocket *, QByteArray> m_pending;
    QSet<QTcpSocket *> m_inFlight;
    QList<QByteArray> m_requestLines;
    int m_connections = 0;
    int m_notModified = 0;
    int m_answers = 0;
};

} // namespace tarvell::test

Q_DECLARE_METATYPE(tarvell::test::FakeHttpServer::Route)
