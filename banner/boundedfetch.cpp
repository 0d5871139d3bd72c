#include "banner/boundedfetch.h"

#include "banner/weburl.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace tarvell {

namespace {

// Small enough that the cap is checked long before a hostile body piles up in memory.
constexpr qint64 ReadChunk = 16 * 1024;

} // namespace

BoundedFetch::BoundedFetch(QNetworkAccessManager *network, const QUrl &url,
                           const FetchLimits &limits, QObject *parent)
    : QObject(parent), m_deadline(new QTimer(this)), m_limits(limits)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(int(limits.inactivity.count()));
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(limits.maxRedirects);
    // HTTP caching as the server asks for it: a fresh answer is taken from the cache with no
    // request, a stale one is checked with its validators first. What comes from the cache
    // passes the same checks below as what comes from the network.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::PreferNetwork);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    // Asking for no encoding also turns off Qt's transparent decompression, so the size cap
    // counts the bytes that are really kept; a compressed answer is then simply no picture.
    request.setRawHeader("Accept-Encoding", "identity");

    m_reply = network->get(request);
    m_reply->setReadBufferSize(ReadChunk);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &BoundedFetch::onMetaDataChanged);
    connect(m_reply, &QNetworkReply::readyRead, this, &BoundedFetch::onReadyRead);
    connect(m_reply, &QNetworkReply::redirected, this, &BoundedFetch::onRedirected);
    connect(m_reply, &QNetworkReply::finished, this, &BoundedFetch::onReplyFinished);

    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, [this] { conclude(false); });
    m_deadline->start(limits.deadline);
}

BoundedFetch::~BoundedFetch()
{
    releaseReply();
}

void BoundedFetch::abandon()
{
    releaseReply();
    m_deadline->stop();
}

void BoundedFetch::onMetaDataChanged()
{
    // An error status or an announced oversize ends the fetch before a byte of the body is
    // read. Redirects pass: Qt follows them and reports the next answer here again.
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool redirect = status >= 300 && status < 400;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if ((status != 200 && !redirect) ||
        (length.isValid() && length.toLongLong() > m_limits.maxBytes))
        conclude(false);
}

void BoundedFetch::onReadyRead()
{
    if (!isOk() || !readAvailable())
        conclude(false);
}

void BoundedFetch::onRedirected(const QUrl &target)
{
    // Qt refuses redirects to other schemes and counts them itself; this keeps both rules true
    // whatever Qt version runs underneath.
    if (++m_redirects > m_limits.maxRedirects || !isWebAddress(target))
        conclude(false);
}

void BoundedFetch::onReplyFinished()
{
    const bool ok = m_reply->error() == QNetworkReply::NoError && isOk() && readAvailable();
    if (ok)
        m_contentType = m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    conclude(ok);
}

bool BoundedFetch::isOk() const
{
    return m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200;
}

bool BoundedFetch::readAvailable()
{
    while (m_reply->bytesAvailable() > 0) {
        const qint64 room = m_limits.maxBytes - m_body.size();
        // Reading one byte past the cap is how an oversized body shows itself.
        const QByteArray chunk = m_reply->read(qMin(ReadChunk, room + 1));
        if (chunk.isEmpty())
            break;
        m_body += chunk;
        if (m_body.size() > m_limits.maxBytes)
            return false;
    }
    return true;
}

void BoundedFetch::conclude(bool ok)
{
    if (!m_reply)
        return;
    releaseReply();
    m_deadline->stop();
    const QByteArray body = ok ? m_body : QByteArray();
    m_body.clear();
    Q_EMIT finished(ok, body);
}

void BoundedFetch::releaseReply()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply.data();
    m_reply.clear();
    reply->disconnect(this);
    // Deleting a reply alone leaves its connection open until the server gives up, so it is
    // aborted; but not from inside one of its own signals, where Qt reports the end twice.
    QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
    reply->deleteLater();
}

} // namespace tarvell
