#include "banner/hiddenpage.h"

#include "banner/inertdocument.h"
#include "banner/systemcodec.h"

#include <QPromise>
#include <QStringDecoder>
#include <QUrl>

#include <cctype>
#include <memory>
#include <optional>

namespace tarvell {

namespace {

QByteArray headerParameter(const QByteArray &header, QByteArrayView name)
{
    const QList<QByteArray> parts = header.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray part = parts.at(i).trimmed();
        const qsizetype equals = part.indexOf('=');
        if (equals > 0 && part.left(equals).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
            QByteArray value = part.mid(equals + 1).trimmed();
            if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
                value = value.mid(1, value.size() - 2);
            return value;
        }
    }
    return {};
}

// The charset a page's <meta> declares (charset="..." or a content type with one), as a
// browser looks for it: in the first KiB.
QByteArray metaCharset(const QByteArray &body)
{
    const QByteArray head = body.left(1024).toLower();
    for (qsizetype meta = head.indexOf("<meta"); meta >= 0;
         meta = head.indexOf("<meta", meta + 1)) {
        const qsizetype end = head.indexOf('>', meta);
        const qsizetype at = head.indexOf("charset=", meta);
        if (at < 0 || (end >= 0 && at > end))
            continue;
        qsizetype from = at + 8;
        while (from < head.size() && (head.at(from) == '"' || head.at(from) == '\''))
            ++from;
        qsizetype to = from;
        while (to < head.size() && (std::isalnum(static_cast<unsigned char>(head.at(to))) ||
                                    head.at(to) == '-' || head.at(to) == '_'))
            ++to;
        return head.mid(from, to - from);
    }
    return {};
}

} // namespace

HiddenPage::HiddenPage(NetworkAccess *network, QObject *parent)
    : QObject(parent), m_fetch(network, FetchLimits::forPage())
{}

void HiddenPage::navigate(const QUrl &url)
{
    m_fetch.abandon();
    if (m_reading) {
        m_reading->disconnect(this);
        m_reading->deleteLater();
        m_reading = nullptr;
    }
    m_fetch.start(url, this, &HiddenPage::onFetched);
}

void HiddenPage::onFetched(bool ok, const QByteArray &body)
{
    const QByteArray contentType = m_fetch->contentType();
    m_fetch.release();
    if (!ok) {
        m_text.clear();
        Q_EMIT finished();
        return;
    }
    // Qt's HTML parser is quadratic in the depth of nesting: a hostile page within the size cap
    // still costs a good part of a second, which the window must not spend waiting. The
    // watcher goes with this object or the next navigation; a reading still under way then
    // finishes unheard.
    auto reading = std::make_shared<QPromise<QString>>();
    m_reading = new QFutureWatcher<QString>(this);
    connect(m_reading, &QFutureWatcherBase::finished, this, &HiddenPage::onRead);
    m_reading->setFuture(reading->future());
    m_readers.start([reading, body, contentType] {
        reading->start();
        reading->addResult(readableText(body, contentType));
        reading->finish();
    });
}

void HiddenPage::onRead()
{
    m_text = m_reading->future().resultCount() > 0 ? m_reading->result() : QString();
    m_reading->deleteLater();
    m_reading = nullptr;
    Q_EMIT finished();
}

QString HiddenPage::readableText(const QByteArray &body, const QByteArray &contentType)
{
    // The header's charset first, then the page's own; each is tried with Qt's converters and
    // then the system's. UTF-8 when neither is declared or known.
    std::optional<QString> page;
    const QByteArray charset = headerParameter(contentType, "charset");
    QStringDecoder decoder;
    if (!charset.isEmpty()) {
        decoder = QStringDecoder(charset.constData());
        if (!decoder.isValid())
            page = decodeWithSystemCodec(body, charset);
    }
    if (!page && !decoder.isValid()) {
        decoder = QStringDecoder::decoderForHtml(body);
        if (!decoder.isValid())
            page = decodeWithSystemCodec(body, metaCharset(body));
    }
    if (!page && !decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    if (!page)
        page = decoder.decode(body);

    // A browser shows a plain-text page as it is.
    const qsizetype semicolon = contentType.indexOf(';');
    const QByteArray mimeType =
        (semicolon < 0 ? contentType : contentType.left(semicolon)).trimmed().toLower();
    if (mimeType == "text/plain")
        return *page;
    return InertDocument::plainTextOf(*page);
}

} // namespace tarvell
