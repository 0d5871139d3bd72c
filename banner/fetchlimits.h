#pragma once

#include <QtGlobal>

#include <chrono>

namespace tarvell {

// How long and how much one fetch from the maker's site may take. The banner trusts nothing of
// that site: a host that never answers, drips, or sends without end is cut off by these.
struct FetchLimits
{
    // Ends a fetch that has received nothing for this long.
    std::chrono::milliseconds inactivity{5000};
    // Ends a fetch this long after it started, however much it still receives: a slow drip
    // resets the inactivity clock for ever.
    std::chrono::milliseconds deadline{10000};
    // More than this is never read, whatever the server announces.
    qint64 maxBytes = 512 * 1024;
    // Enough for a site that moved once or twice; a loop ends here.
    int maxRedirects = 3;

    // The page holds nothing but an address; 16 KiB leaves room for the markup around it, and
    // keeps the worst markup Qt's parser can be fed to a fraction of a second.
    static FetchLimits forPage()
    {
        FetchLimits limits;
        limits.inactivity = std::chrono::milliseconds(10000);
        limits.deadline = std::chrono::milliseconds(30000);
        limits.maxBytes = 16 * 1024;
        return limits;
    }

    // A 468 x 60 banner is a few dozen KiB as JPEG.
    static FetchLimits forPicture() { return FetchLimits(); }
};

} // namespace tarvell
