#include "bench/common/processstats.h"

#include <ctime>
#include <fstream>
#include <string>

namespace tarvell::bench {

namespace {

std::int64_t clockNs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

std::int64_t processCpuNs()
{
    return clockNs(CLOCK_PROCESS_CPUTIME_ID);
}

std::int64_t threadCpuNs()
{
    return clockNs(CLOCK_THREAD_CPUTIME_ID);
}

std::int64_t peakResidentKb()
{
    // VmHWM rather than getrusage's ru_maxrss, which may still hold the peak of the process
    // that forked this one before its exec.
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stoll(line.substr(6));
    }
    return -1;
}

} // namespace tarvell::bench
