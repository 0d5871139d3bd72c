#include "bench/common/processstats.h"

#include <windows.h>

#include <psapi.h>

namespace tarvell::bench {

namespace {

// FILETIME durations count 100 ns.
std::int64_t ns(const FILETIME &time)
{
    return ((std::int64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime) * 100;
}

} // namespace

std::int64_t processCpuNs()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    return ns(kernel) + ns(user);
}

std::int64_t threadCpuNs()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    return ns(kernel) + ns(user);
}

std::int64_t peakResidentKb()
{
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return std::int64_t(counters.PeakWorkingSetSize / 1024);
}

} // namespace tarvell::bench
