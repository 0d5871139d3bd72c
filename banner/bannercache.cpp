#include "banner/bannercache.h"

#include "banner/httpresponse.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace tarvell {

namespace {

constexpr QByteArrayView FileMagic = "tarvell-banner-answer 1";

qint64 nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// Milliseconds since the epoch of an HTTP date; -1 when it is none.
qint64 httpDate(const QByteArray &value)
{
    if (value.isEmpty())
        return -1;
    const QDateTime date = QDateTime::fromString(QString::fromLatin1(value), Qt::RFC2822Date);
    return date.isValid() ? date.toMSecsSinceEpoch() : -1;
}

qint64 plainSeconds(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 12 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return text.toLongLong();
}

QList<QByteArray> directives(const QByteArray &cacheControl)
{
    QList<QByteArray> found;
    for (const QByteArray &item : cacheControl.split(','))
        found.append(item.trimmed().toLower());
    return found;
}

bool hasDirective(const QByteArray &cacheControl, QByteArrayView name)
{
    const QList<QByteArray> found = directives(cacheControl);
    return std::any_of(found.cbegin(), found.cend(),
                       [name](const QByteArray &directive) { return directive == name; });
}

// Until when an answer is fresh, from what it says and when it came (now); 0 when it is not.
// Nothing is ever used stale, so must-revalidate holds without a rule of its own.
qint64 freshUntil(const QByteArray &cacheControl, const QByteArray &expires,
                  const HttpResponse &response, qint64 now)
{
    if (hasDirective(cacheControl, "no-cache") || hasDirective(cacheControl, "no-store"))
        return 0;
    const qint64 date = httpDate(response.header("date"));
    qint64 lifetime = -1;
    for (const QByteArray &directive : directives(cacheControl)) {
        if (directive.startsWith("max-age="))
            lifetime = plainSeconds(QByteArrayView(directive).sliced(8)) * 1000;
    }
    if (lifetime < 0 && !expires.isEmpty()) {
        const qint64 until = httpDate(expires);
        lifetime = until < 0 ? 0 : until - (date < 0 ? now : date);
    }
    if (lifetime <= 0)
        return 0;
    const qint64 age = std::max(std::max<qint64>(plainSeconds(response.header("age")), 0) * 1000,
                                date < 0 ? 0 : now - date);
    return lifetime > age ? now + lifetime - age : 0;
}

bool freshForAWhile(qint64 until, qint64 now)
{
    return until - now >= BannerCache::MinStoredFreshnessSeconds * 1000;
}

} // namespace

BannerCache::BannerCache(const QList<QUrl> &addresses, const QString &folder, QObject *parent)
    : QObject(parent), m_addresses(addresses), m_folder(folder)
{}

std::optional<BannerCache::Answer> BannerCache::freshAnswer(const QUrl &url)
{
    const Entry *entry = entryFor(url);
    if (!entry || entry->freshUntil <= nowMs())
        return std::nullopt;
    return Answer{entry->body, entry->contentType};
}

QList<std::pair<QByteArray, QByteArray>> BannerCache::conditionalHeaders(const QUrl &url)
{
    QList<std::pair<QByteArray, QByteArray>> headers;
    if (const Entry *entry = entryFor(url)) {
        if (!entry->etag.isEmpty())
            headers.append({"If-None-Match", entry->etag});
        if (!entry->lastModified.isEmpty())
            headers.append({"If-Modified-Since", entry->lastModified});
    }
    return headers;
}

void BannerCache::storeAnswer(const QUrl &url, const HttpResponse &response)
{
    Entry *old = entryFor(url);
    if (!m_addresses.contains(url))
        return;
    Entry entry;
    entry.cacheControl = response.headerList("cache-control").join(", ");
    const QList<QByteArray> vary = response.headerList("vary");
    // Vary: * says no later request can be answered with this one.
    if (hasDirective(entry.cacheControl, "no-store") || vary.contains("*")) {
        removeFile(url, old);
        m_entries.remove(url);
        return;
    }
    const qint64 now = nowMs();
    entry.etag = response.header("etag");
    entry.lastModified = response.header("last-modified");
    entry.contentType = response.header("content-type");
    entry.expires = response.header("expires");
    entry.freshUntil = freshUntil(entry.cacheControl, entry.expires, response, now);
    entry.body = response.body();
    if (entry.freshUntil == 0 && entry.etag.isEmpty() && entry.lastModified.isEmpty()) {
        removeFile(url, old);
        m_entries.remove(url);
        return;
    }
    const bool sameAsFile = old && old->onDisk && old->body == entry.body &&
                            old->etag == entry.etag && old->lastModified == entry.lastModified &&
                            old->contentType == entry.contentType;
    entry.onDisk = sameAsFile;
    if (!sameAsFile)
        removeFile(url, old);
    Entry &kept = m_entries[url] = entry;
    // An answer with nothing but a new validator waits in memory for a 304 to confirm it.
    if (freshForAWhile(kept.freshUntil, now))
        writeFile(url, kept);
}

std::optional<BannerCache::Answer> BannerCache::confirmAnswer(const QUrl &url,
                                                              const HttpResponse &response)
{
    Entry *entry = entryFor(url);
    if (!entry)
        return std::nullopt;
    // A 304 that names another validator confirms some other answer.
    const QByteArray etag = response.header("etag");
    if (!etag.isEmpty() && etag != entry->etag)
        return std::nullopt;
    const Answer answer{entry->body, entry->contentType};

    const QByteArray cacheControl = response.headerList("cache-control").join(", ");
    if (!cacheControl.isEmpty())
        entry->cacheControl = cacheControl;
    if (!response.header("expires").isEmpty())
        entry->expires = response.header("expires");
    if (hasDirective(entry->cacheControl, "no-store")) {
        removeFile(url, entry);
        m_entries.remove(url);
        return answer;
    }
    const qint64 now = nowMs();
    entry->freshUntil = freshUntil(entry->cacheControl, entry->expires, response, now);
    // Written when first confirmed, and again only when the 304 makes it fresh for a while;
    // a 304 that changes nothing that matters rewrites nothing.
    if (!entry->onDisk || freshForAWhile(entry->freshUntil, now))
        writeFile(url, *entry);
    return answer;
}

BannerCache::Entry *BannerCache::entryFor(const QUrl &url)
{
    if (!m_addresses.contains(url))
        return nullptr;
    const auto known = m_entries.find(url);
    if (known != m_entries.end())
        return &*known;
    if (m_folder.isEmpty() || m_looked.contains(url))
        return nullptr;
    m_looked.append(url);
    std::optional<Entry> stored = readFile(url);
    if (!stored) {
        QFile::remove(fileFor(url));
        return nullptr;
    }
    return &*m_entries.insert(url, *stored);
}

QString BannerCache::fileFor(const QUrl &url) const
{
    const QByteArray name =
        QCryptographicHash::hash(url.toEncoded(), QCryptographicHash::Sha256).toHex().left(24);
    return m_folder + u'/' + QString::fromLatin1(name) + QStringLiteral(".answer");
}

// The file: a line of magic, then the URL, the validators, the Content-Type, the freshness
// data, the body's size and its SHA-256, one to a line, then the body. Header values never hold
// a line end, so the lines cannot run into each other.
std::optional<BannerCache::Entry> BannerCache::readFile(const QUrl &url) const
{
    QFile file(fileFor(url));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileBytes)
        return std::nullopt;
    const QByteArray data = file.read(MaxFileBytes + 1);
    QList<QByteArray> lines;
    qsizetype at = 0;
    for (int line = 0; line < 10; ++line) {
        const qsizetype end = data.indexOf('\n', at);
        if (end < 0)
            return std::nullopt;
        lines.append(data.mid(at, end - at));
        at = end + 1;
    }
    Entry entry;
    entry.etag = lines.at(2);
    entry.lastModified = lines.at(3);
    entry.contentType = lines.at(4);
    entry.cacheControl = lines.at(5);
    entry.expires = lines.at(6);
    bool ok = false;
    entry.freshUntil = lines.at(7).toLongLong(&ok);
    const qint64 size = plainSeconds(lines.at(8));
    entry.body = data.mid(at);
    if (lines.at(0) != FileMagic || lines.at(1) != url.toEncoded() || !ok || size < 0 ||
        entry.body.size() != size ||
        QCryptographicHash::hash(entry.body, QCryptographicHash::Sha256).toHex() != lines.at(9))
        return std::nullopt;
    entry.onDisk = true;
    return entry;
}

void BannerCache::writeFile(const QUrl &url, Entry &entry)
{
    if (m_folder.isEmpty())
        return;
    QSaveFile file(fileFor(url));
    if (!file.open(QIODevice::WriteOnly))
        return;
    const QByteArray head =
        FileMagic.toByteArray() + '\n' + url.toEncoded() + '\n' + entry.etag + '\n' +
        entry.lastModified + '\n' + entry.contentType + '\n' + entry.cacheControl + '\n' +
        entry.expires + '\n' + QByteArray::number(entry.freshUntil) + '\n' +
        QByteArray::number(entry.body.size()) + '\n' +
        QCryptographicHash::hash(entry.body, QCryptographicHash::Sha256).toHex() + '\n';
    file.write(head);
    file.write(entry.body);
    // A disk that takes nothing only means no cache.
    entry.onDisk = file.commit();
}

void BannerCache::removeFile(const QUrl &url, Entry *entry)
{
    if (entry && entry->onDisk) {
        QFile::remove(fileFor(url));
        entry->onDisk = false;
    }
}

} // namespace tarvell
