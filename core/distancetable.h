#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvell {

// The caption of the lower-indexed team directly followed by that of the higher-indexed one.
std::u16string PairKey(int lowerTeam, int higherTeam);

// Distances in whole kilometres between the home cities of every pair of distinct teams.
class DistanceTable
{
public:
    static constexpr int kEntryCount = 435;

    // The distance of the entry whose key equals `key` code unit for code unit, 0 for any text
    // that is no key (also the answer for the two teams that share a city).
    static std::int16_t lookup(std::u16string_view key);

    // The distance of teams i and j in either order; nullopt unless 0 <= i, j < 30 and i != j.
    static std::optional<std::int16_t> between(int i, int j);

private:
    static std::optional<int> leadingTeam(std::u16string_view text);
};

} // namespace tarvell
