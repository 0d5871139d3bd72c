#pragma once

#include <QObject>

class QNetworkAccessManager;

namespace tarvell {

// Owns the one QNetworkAccessManager of the banner, made on first use: the window's start-up
// must not pay for network setup before the banner actually fetches something.
class NetworkAccess : public QObject
{
    Q_OBJECT
public:
    explicit NetworkAccess(QObject *parent = nullptr);

    QNetworkAccessManager *manager();

private:
    QNetworkAccessManager *m_manager = nullptr;
};

} // namespace tarvell
