#include "banner/networkaccess.h"

#include <QNetworkAccessManager>

namespace tarvell {

NetworkAccess::NetworkAccess(QObject *parent) : QObject(parent) {}

QNetworkAccessManager *NetworkAccess::manager()
{
    if (!m_manager) {
        m_manager = new QNetworkAccessManager(this);
        // Nothing is remembered between fetches: each one stands alone, as a new page load would.
        m_manager->setStrictTransportSecurityEnabled(false);
    }
    return m_manager;
}

} // namespace tarvell
