#include "core/distancetable.h"

#include "core/roster.h"

#include <array>
#include <utility>

namespace tarvell {

namespace {

// One row per lower team i, listing the distances to teams i+1..29 in order. Teams 10 and 11
// share a home city, so their rows agree and their mutual distance is 0.
// clang-format off
constexpr std::array<std::int16_t, DistanceTable::kEntryCount> kTriangle{
    // 0 森林狼: teams 1..29
    1125, 2291, 1118, 1586, 1390, 1705, 1129, 1789, 1696, 2452, 2452, 2531, 2432, 2060,
    1806, 1629, 1637, 1586, 1114, 1462, 2437, 1513, 2108, 1502, 569, 1015, 843, 479,
    824,
    // 1 掘  金: teams 2..29
    2291, 814, 596, 1067, 1418, 1415, 1296, 1742, 1338, 1338, 1506, 1427, 943, 2845,
    2616, 2623, 2538, 2163, 1949, 2780, 2186, 2496, 2402, 1477, 1974, 1846, 1470, 1610,
    // 2 开拓者: teams 3..29
    2391, 1021, 2626, 2955, 2973, 2772, 3318, 1332, 1332, 867, 771, 1621, 4079, 3919,
    3928, 3876, 3395, 3492, 4357, 3681, 4067, 3782, 2822, 3302, 3134, 2761, 3030,
    // 3 雷  霆: teams 4..29
    1389, 304, 667, 678, 677, 927, 1901, 1901, 2214, 2155, 1353, 2404, 2130, 2135,
    2023, 1796, 1215, 1974, 1512, 1702, 1853, 1112, 1530, 1469, 1180, 1108,
    // 4 爵  士: teams 5..29
    1608, 1934, 2011, 1755, 2308, 936, 936, 948, 856, 815, 3373, 3163, 3170, 3095,
    2682, 2546, 3363, 2778, 3086, 2969, 2022, 2521, 2378, 1996, 2181,
    // 5 小  牛: teams 6..29
    365, 676, 405, 713, 1994, 1994, 2364, 2318, 1423, 2495, 2206, 2210, 2088, 1937,
    1159, 1789, 1496, 1548, 1905, 1293, 1651, 1621, 1381, 1230,
    // 6 火  箭: teams 7..29
    779, 300, 510, 2211, 2211, 2627, 2592, 1634, 2584, 2284, 2286, 2155, 2095, 1128,
    1557, 1491, 1364, 1964, 1516, 1795, 1801, 1621, 1395,
    // 7 灰  熊: teams 8..29
    1012, 577, 2580, 2580, 2879, 2814, 2029, 1828, 1535, 1538, 1414, 1315, 540, 1405,
    837, 1098, 1230, 778, 1016, 1026, 899, 619,
    // 8 马  刺: teams 9..29
    810, 1942, 1942, 2381, 2354, 1368, 2839, 2542, 2545, 2417, 2314, 1414, 1843, 1773,
    1661, 2228, 1690, 2020, 2006, 1782, 1606,
    // 9 黄  蜂: teams 10..29
    2690, 2690, 3076, 3031, 2114, 2189, 1885, 1886, 1750, 1793, 683, 1077, 1046, 858,
    1555, 1345, 1490, 1544, 1470, 1149,
    // 10 快  船: teams 11..29
    0, 544, 589, 577, 4176, 3936, 3943, 3849, 3500, 3114, 3764, 3410, 3541, 3700,
    2805, 3297, 3178, 2807, 2911,
    // 11 湖  人: teams 12..29
    544, 589, 577, 4176, 3936, 3943, 3849, 3500, 3114, 3764, 3410, 3541, 3700, 2805,
    3297, 3178, 2807, 2911,
    // 12 勇  士: teams 13..29
    116, 1033, 4321, 4109, 4116, 4038, 3631, 3420, 4154, 3682, 3906, 3907, 2967, 3466,
    3326, 2944, 3116,
    // 13 国  王: teams 14..29
    1027, 4227, 4019, 4027, 3950, 3536, 3355, 4107, 3609, 3853, 3822, 2878, 3377, 3234,
    2851, 3032,
    // 14 太  阳: teams 15..29
    3697, 3442, 3448, 3347, 3039, 2558, 3187, 2865, 2967, 3187, 2335, 2812, 2711, 2354,
    2410,
    // 15 凯尔特: teams 16..29
    304, 303, 440, 692, 1508, 2025, 1160, 1797, 634, 1370, 884, 999, 1378, 1297,
    // 16 篮  网: teams 17..29
    10, 138, 539, 1204, 1766, 859, 1519, 330, 1142, 643, 790, 1172, 1032,
    // 17 尼克斯: teams 18..29
    137, 548, 1205, 1762, 859, 1516, 330, 1149, 650, 798, 1180, 1038,
    // 18 76  人: teams 19..29
    543, 1068, 1639, 721, 1386, 194, 1073, 577, 743, 1117, 938,
    // 19 猛  龙: teams 20..29
    1182, 1989, 945, 1689, 563, 704, 304, 330, 693, 708,
    // 20 老  鹰: teams 21..29
    976, 365, 646, 874, 948, 893, 1000, 1078, 686,
    // 21 热  火: teams 22..29
    1053, 330, 1489, 1919, 1754, 1903, 2046, 1652,
    // 22 山  猫: teams 23..29
    744, 531, 949, 702, 857, 1062, 689,
    // 23 魔  术: teams 24..29
    1220, 1589, 1441, 1583, 1716, 1322,
    // 24 奇  才: teams 25..29
    961, 490, 673, 1024, 792,
    // 25 公  牛: teams 26..29
    499, 375, 131, 268,
    // 26 骑  士: teams 27..29
    185, 541, 423,
    // 27 活  塞: teams 28..29
    383, 407,
    // 28 雄  鹿: teams 29..29
    393,
};
// clang-format on

// Position of pair (i, j), i < j, in the triangle: rows 0..i-1 hold 29 + 28 + ... entries.
constexpr std::size_t triangleIndex(int i, int j)
{
    return static_cast<std::size_t>(i * (2 * kTeamCount - i - 1) / 2 + (j - i - 1));
}

static_assert(triangleIndex(kTeamCount - 2, kTeamCount - 1) == DistanceTable::kEntryCount - 1);

} // namespace

std::u16string PairKey(int lowerTeam, int higherTeam)
{
    std::u16string key(kRoster.at(static_cast<std::size_t>(lowerTeam)).caption);
    key += kRoster.at(static_cast<std::size_t>(higherTeam)).caption;
    return key;
}

std::optional<int> DistanceTable::leadingTeam(std::u16string_view text)
{
    // No caption is a prefix of another, so at most one caption can start the text.
    for (const Team &team : kRoster) {
        if (text.starts_with(team.caption))
            return team.TeamIndex;
    }
    return std::nullopt;
}

std::int16_t DistanceTable::lookup(std::u16string_view key)
{
    // A key is exactly caption(i) followed by caption(j) with i < j: split off the first
    // caption, then the rest must be exactly one caption of a higher team.
    const std::optional<int> first = leadingTeam(key);
    if (!first)
        return 0;
    const std::u16string_view rest =
        key.substr(kRoster[static_cast<std::size_t>(*first)].caption.size());
    for (int j = *first + 1; j < kTeamCount; ++j) {
        if (rest == kRoster[static_cast<std::size_t>(j)].caption)
            return kTriangle[triangleIndex(*first, j)];
    }
    return 0;
}

std::optional<std::int16_t> DistanceTable::between(int i, int j)
{
    if (i < 0 || j < 0 || i >= kTeamCount || j >= kTeamCount || i == j)
        return std::nullopt;
    if (i > j)
        std::swap(i, j);
    return kTriangle[triangleIndex(i, j)];
}

} // namespace tarvell
