#pragma once

#include "banner/fetchlimits.h"
#include "banner/httpresponse.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QUrl>

#include <optional>

class QTcpSocket;
class QTimer;

namespace tarvell {

class BannerCache;
class NetworkAccess;

// One GET held within FetchLimits, over a connection of its own that closes after the answer:
// the socket, the parsing and both clocks all run on the owner's thread, so ending the fetch
// ends everything at once. It starts when constructed and reports through finished() exactly
// once, unless abandon() comes first; then it reports nothing.
class BoundedFetch : public QObject
{
    Q_OBJECT
public:
    // The most the socket holds unread: a faster sender is held back by TCP itself.
    static constexpr qint64 SocketBufferBytes = 64 * 1024;

    BoundedFetch(NetworkAccess *network, const QUrl &url, const FetchLimits &limits,
                 QObject *parent = nullptr);
    ~BoundedFetch() override;

    // Stops the transfer at once; no finished() follows.
    void abandon();

    // The Content-Type the server sent with a successful answer.
    QByteArray contentType() const { return m_contentType; }

Q_SIGNALS:
    // ok: the server answered 200 with a whole body within the limits. Otherwise body is empty.
    void finished(bool ok, const QByteArray &body);

private:
    void request(const QUrl &url);
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onSocketError(QAbstractSocket::SocketError error);
    // After every piece of the answer: acts on the head once it is there, and on the end.
    void advance();
    void followRedirect();
    void conclude(bool ok, const QByteArray &body = {});
    void releaseSocket();

    BannerCache *m_cache;
    QUrl m_address;
    QUrl m_url;
    FetchLimits m_limits;
    QTcpSocket *m_socket = nullptr;
    std::optional<HttpResponse> m_response;
    QTimer *m_deadline;
    QTimer *m_inactivity;
    QByteArray m_contentType;
    int m_redirects = 0;
    bool m_reporting = true;
    // Whether the request asked the cache's stored answer to be confirmed.
    bool m_conditional = false;
};

} // namespace tarvell
