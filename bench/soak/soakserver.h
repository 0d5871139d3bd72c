#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

#include <atomic>
#include <chrono>

class QTcpServer;
class QTcpSocket;

namespace tarvell::bench {

// The maker's site on 127.0.0.1, with the caching headers a real server might send, counting
// what it serves. Meant to live in a thread of its own; the counts may be read from any thread.
class SoakServer : public QObject
{
    Q_OBJECT
public:
    enum class Caching {
        // Cache-Control: max-age=3600, with ETag and Last-Modified.
        Fresh,
        // Cache-Control: no-cache, with ETag and Last-Modified: every use asks again.
        NoCache,
        // No caching header and no validator at all.
        None,
    };

    struct Counts
    {
        qint64 requests = 0;
        qint64 fullAnswers = 0;
        qint64 notModified = 0;
        qint64 bytes = 0;
    };

    // pictures: the bodies of pictures 1, 2 and 3. Each picture waits `delay` before it is
    // answered; with `hang`, pictures are never answered at all.
    SoakServer(Caching caching, const QList<QByteArray> &pictures,
               std::chrono::milliseconds delay = {}, bool hang = false, QObject *parent = nullptr);

    // Call in the server's thread; returns the port, 0 on failure.
    quint16 listen();
    Counts counts() const;

private:
    void onNewConnection();
    void onRequest(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &path, const QByteArray &requestHead);

    QTcpServer *m_server;
    Caching m_caching;
    QList<QByteArray> m_pictures;
    std::chrono::milliseconds m_delay;
    bool m_hang;
    std::atomic<qint64> m_requests{0};
    std::atomic<qint64> m_fullAnswers{0};
    std::atomic<qint64> m_notModified{0};
    std::atomic<qint64> m_bytes{0};
};

} // namespace tarvell::bench
