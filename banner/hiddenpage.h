#pragma once

#include "banner/fetchslot.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QThreadPool>

class QUrl;

namespace tarvell {

class NetworkAccess;

// The page that is never shown: it is fetched once, and what a reader would see of it is the
// banner's link. Only its text is kept.
class HiddenPage : public QObject
{
    Q_OBJECT
public:
    explicit HiddenPage(NetworkAccess *network, QObject *parent = nullptr);

    // Starts fetching the page and returns at once; a page still in flight is abandoned.
    void navigate(const QUrl &url);
    // Empty until the page has arrived, and when it could not be had.
    QString text() const { return m_text; }

    // The text of a fetched body, decoded by the encoding that its byte order mark, the header
    // or the page itself declares (UTF-8 when none does). Safe to call from any thread.
    static QString readableText(const QByteArray &body, const QByteArray &contentType);

Q_SIGNALS:
    // The fetch is over, whether or not a page came.
    void finished();

private:
    void onFetched(bool ok, const QByteArray &body);
    void onRead();

    FetchSlot m_fetch;
    QFutureWatcher<QString> *m_reading = nullptr;
    // Its own pool, so that a reading still under way ends before the page is gone.
    QThreadPool m_readers;
    QString m_text;
};

} // namespace tarvell
