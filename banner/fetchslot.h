#pragma once

#include "banner/boundedfetch.h"
#include "banner/fetchlimits.h"

namespace tarvell {

class NetworkAccess;

// How an owner fetches: through the banner's network, within the limits of its kind, one fetch
// at a time. Starting another abandons the one before, whose answer is then never heard. The
// fetch is the owner's child, so it dies with the owner at the latest.
class FetchSlot
{
public:
    FetchSlot(NetworkAccess *network, const FetchLimits &limits)
        : m_network(network), m_limits(limits)
    {}
    FetchSlot(const FetchSlot &) = delete;
    FetchSlot &operator=(const FetchSlot &) = delete;

    template <typename Owner>
    void start(const QUrl &url, Owner *owner, void (Owner::*onFinished)(bool, const QByteArray &))
    {
        QObject::connect(launch(url, owner), &BoundedFetch::finished, owner, onFinished);
    }

    // Stops the fetch in flight, if any, without a word to the owner.
    void abandon();
    // For the owner's finished handler: the fetch is done reporting, and goes once control is
    // back in the event loop.
    void release();

    bool isBusy() const { return m_fetch != nullptr; }
    const BoundedFetch *operator->() const { return m_fetch; }

private:
    // Abandons the fetch before and starts the next.
    BoundedFetch *launch(const QUrl &url, QObject *owner);

    NetworkAccess *m_network;
    FetchLimits m_limits;
    QObject *m_owner = nullptr;
    BoundedFetch *m_fetch = nullptr;
};

} // namespace tarvell
