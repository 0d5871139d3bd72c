#include "banner/hiddenpage.h"

#include "banner/pagecharset.h"
#include "banner/pagetext.h"

#include <QPromise>
#include <QUrl>

#include <memory>

namespace tarvell {

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
    // Read off the window's thread: parsing a page is quick, but the window never waits on
    // what the network sends. The watcher goes with this object or the next navigation; a
    // reading still under way then finishes unheard.
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
    const QString page = PageCharset::decode(body, contentType);
    // A browser shows a plain-text page as it is.
    const qsizetype semicolon = contentType.indexOf(';');
    const QByteArray mimeType =
        (semicolon < 0 ? contentType : contentType.left(semicolon)).trimmed().toLower();
    if (mimeType == "text/plain")
        return page;
    return PageText::of(page.toUtf8());
}

} // namespace tarvell
