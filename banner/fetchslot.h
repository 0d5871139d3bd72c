#pragma once

#include "banner/boundedfetch.h"
#include "banner/fetchlimits.h"

namespace tarvell {

class NetworkAccess;

// How an owner fetches: through the banner's network, within its limits, one fetch at a time.
// Starting another abandons the one before, whose answer is then never heard. The fetch is the
// owner's child, so it dies with the owner at the latest.
class FetchSlot
{
public:
    FetchSlot(NetworkAccess *network, const FetchLimits &limits)
        : m_network(network), m_limits(limits)
    {}
    FetchSlot(const FetchSlot &) = delete;
    FetchSlot &operator=(const FetchSlot &) = delete;

    // For the fetches started from now on.
    void setLimits(const FetchLimits &limits) { m_limits = limits; }

    template <typename Owner>
    void start(const QUrl &url, Owner *owner, void (Owner::*onFinished)(bool, const QByteArray &))
    {
        abandon();
        m_owner = owner;
        m_fetch = new BoundedFetch(manager(), url, m_limits, owner);
        QObject::connect(m_fetch, &BoundedFetch::finished, owner, onFinished);
    }

    // Stops the fetch in flight, if any, without a word to the owner.
    void abandon();
    // For the owner's finished handler: the fetch is done reporting, and goes once control is
    // back in the event loop.
    void release();

    bool isBusy() const { return m_fetch != nullptr; }
    const BoundedFetch *operator->() const { return m_fetch; }

private:
    QNetworkAccessManager *manager() const;

    NetworkAccess *m_network;
    FetchLimits m_limits;
    QObject *m_owner = nullptr;
    BoundedFetch *m_fetch = nullptr;
};

} // namespace tarvell
