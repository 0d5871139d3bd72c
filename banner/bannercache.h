#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>
#include <utility>

namespace tarvell {

class HttpResponse;

// The banner's HTTP cache, for its own few addresses only (never what a redirect leads to).
// The last answer of each is kept in memory with its validators; the disk only gets an answer
// that can serve a later request: one that stays fresh for a while, or whose validator a 304
// has confirmed once. A site whose validator changes on every answer thus costs no disk writes,
// and a 304 that changes nothing that matters rewrites nothing.
class BannerCache : public QObject
{
    Q_OBJECT
public:
    // An answer shorter-lived than this is kept in memory only: writing it would only be read
    // again after a restart within a few minutes.
    static constexpr qint64 MinStoredFreshnessSeconds = 10 * 60;
    // Larger stored files are damaged: no answer is longer than a fetch may read.
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    struct Answer
    {
        QByteArray body;
        QByteArray contentType;
    };

    // folder empty: memory only.
    BannerCache(const QList<QUrl> &addresses, const QString &folder, QObject *parent = nullptr);

    // The folder in use, empty when nothing goes to disk.
    QString cacheDirectory() const { return m_folder; }

    // A stored answer that is still fresh, to be used with no request.
    std::optional<Answer> freshAnswer(const QUrl &url);
    // If-None-Match / If-Modified-Since for a stored answer, to be sent with its request.
    QList<std::pair<QByteArray, QByteArray>> conditionalHeaders(const QUrl &url);
    // A 200 for url, reached with no redirect.
    void storeAnswer(const QUrl &url, const HttpResponse &response);
    // A 304 for url: the stored answer it confirms, if there is one.
    std::optional<Answer> confirmAnswer(const QUrl &url, const HttpResponse &response);

private:
    struct Entry
    {
        QByteArray etag;
        QByteArray lastModified;
        QByteArray contentType;
        // What the freshness is computed from; a 304 may bring new ones.
        QByteArray cacheControl;
        QByteArray expires;
        // Milliseconds since the epoch, UTC; 0 when stale.
        qint64 freshUntil = 0;
        QByteArray body;
        // Whether the file holds exactly this answer.
        bool onDisk = false;
    };

    Entry *entryFor(const QUrl &url);
    QString fileFor(const QUrl &url) const;
    std::optional<Entry> readFile(const QUrl &url) const;
    void writeFile(const QUrl &url, Entry &entry);
    void removeFile(const QUrl &url, Entry *entry);

    QList<QUrl> m_addresses;
    QString m_folder;
    QHash<QUrl, Entry> m_entries;
    // Addresses whose file has been looked for already.
    QList<QUrl> m_looked;
};

} // namespace tarvell
