#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace tarvell {

// The window's counters are signed 16-bit; an overflow is a program error, never a wrap.
inline std::int16_t checkedAdd(std::int16_t value, int delta)
{
    const int result = value + delta;
    if (result > std::numeric_limits<std::int16_t>::max() ||
        result < std::numeric_limits<std::int16_t>::min())
        throw std::overflow_error("16-bit counter overflow");
    return static_cast<std::int16_t>(result);
}

} // namespace tarvell
