#pragma once

#include "banner/fetchlimits.h"

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>

class QNetworkAccessManager;
class QTimer;
class QUrl;

namespace tarvell {

// One GET held within FetchLimits. It starts when constructed and reports through finished()
// exactly once, unless abandon() comes first; then it reports nothing.
class BoundedFetch : public QObject
{
    Q_OBJECT
public:
    BoundedFetch(QNetworkAccessManager *network, const QUrl &url, const FetchLimits &limits,
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
    void onMetaDataChanged();
    void onReadyRead();
    void onRedirected(const QUrl &target);
    void onReplyFinished();
    bool isOk() const;
    bool readAvailable();
    void conclude(bool ok);
    void releaseReply();

    // Guarded: the manager deletes its replies when it goes first.
    QPointer<QNetworkReply> m_reply;
    QTimer *m_deadline = nullptr;
    FetchLimits m_limits;
    QByteArray m_body;
    QByteArray m_contentType;
    int m_redirects = 0;
};

} // namespace tarvell
