#include "urlrecorder.h"

#include <QDesktopServices>

namespace tarvell::test {

UrlRecorder::UrlRecorder(const QStringList &schemes, QObject *parent)
    : QObject(parent), m_schemes(schemes)
{
    for (const QString &scheme : m_schemes)
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

UrlRecorder::~UrlRecorder()
{
    for (const QString &scheme : m_schemes)
        QDesktopServices::unsetUrlHandler(scheme);
}

void UrlRecorder::open(const QUrl &url)
{
    m_opened.append(url);
}

} // namespace tarvell::test
