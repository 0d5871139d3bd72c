#pragma once

#include "banner/boundedfetch.h"

namespace tarvell {

// The one fetch an owner has in flight. Starting another abandons the one before, whose answer
// is then never heard. The fetch is the owner's child, so it dies with the owner at the latest.
class FetchSlot
{
public:
    FetchSlot() = default;
    FetchSlot(const FetchSlot &) = delete;
    FetchSlot &operator=(const FetchSlot &) = delete;

    template <typename Owner>
    void start(QNetworkAccessManager *network, const QUrl &url, const FetchLimits &limits,
               Owner *owner, void (Owner::*onFinished)(bool, const QByteArray &))
    {
        abandon();
        m_owner = owner;
        m_fetch = new BoundedFetch(network, url, limits, owner);
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
    QObject *m_owner = nullptr;
    BoundedFetch *m_fetch = nullptr;
};

} // namespace tarvell
