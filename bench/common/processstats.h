#pragma once

#include <cstdint>

// What the benchmarks ask the system about their own process, the one place where Linux and
// Windows differ. Plain C++, so that either side can be compiled without Qt.
namespace tarvell::bench {

// CPU time, user and system, in nanoseconds: of every thread of this process, and of the
// calling thread alone. Windows counts both in scheduler ticks (15.6 ms by default).
std::int64_t processCpuNs();
std::int64_t threadCpuNs();

// The most memory this process has held resident at once, in KiB: the peak resident set on
// Linux, the peak working set on Windows. -1 if the system does not say.
std::int64_t peakResidentKb();

} // namespace tarvell::bench
