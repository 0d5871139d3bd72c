#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace tarvell::test {

// Stands in for the desktop's URL opener for the given schemes while it lives, and notes what
// would have been opened. "" covers relative addresses such as "--help".
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    explicit UrlRecorder(const QStringList &schemes, QObject *parent = nullptr);
    ~UrlRecorder() override;

    QList<QUrl> opened() const { return m_opened; }

public Q_SLOTS:
    void open(const QUrl &url);

private:
    QStringList m_schemes;
    QList<QUrl> m_opened;
};

} // namespace tarvell::test
