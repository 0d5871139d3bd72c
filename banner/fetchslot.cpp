#include "banner/fetchslot.h"

#include "banner/networkaccess.h"

namespace tarvell {

BoundedFetch *FetchSlot::launch(const QUrl &url, QObject *owner)
{
    abandon();
    m_owner = owner;
    m_fetch = new BoundedFetch(m_network, url, m_network->limitsFor(m_limits), owner);
    return m_fetch;
}

void FetchSlot::abandon()
{
    if (!m_fetch)
        return;
    m_fetch->disconnect(m_owner);
    m_fetch->abandon();
    release();
}

void FetchSlot::release()
{
    if (!m_fetch)
        return;
    // Not deleted at once: the finished handler runs inside the fetch's own signal.
    m_fetch->deleteLater();
    m_fetch = nullptr;
}

} // namespace tarvell
