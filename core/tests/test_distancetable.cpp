// Checks every distance against a second, independently typed rendering of the table: one
// line per lower team with its caption and "j: distance" for every higher team.
#include "core/distancetable.h"
#include "core/roster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace {

using tarvell::DistanceTable;
using tarvell::kRoster;
using tarvell::kTeamCount;
using tarvell::PairKey;

constexpr std::u16string_view caption(int team)
{
    return kRoster[static_cast<std::size_t>(team)].caption;
}

const char *const kReference =
    R"(0 "森林狼" → 1: 1125, 2: 2291, 3: 1118, 4: 1586, 5: 1390, 6: 1705, 7: 1129, 8: 1789, 9: 1696, 10: 2452, 11: 2452, 12: 2531, 13: 2432, 14: 2060, 15: 1806, 16: 1629, 17: 1637, 18: 1586, 19: 1114, 20: 1462, 21: 2437, 22: 1513, 23: 2108, 24: 1502, 25: 569, 26: 1015, 27: 843, 28: 479, 29: 824
1 "掘  金" → 2: 2291, 3: 814, 4: 596, 5: 1067, 6: 1418, 7: 1415, 8: 1296, 9: 1742, 10: 1338, 11: 1338, 12: 1506, 13: 1427, 14: 943, 15: 2845, 16: 2616, 17: 2623, 18: 2538, 19: 2163, 20: 1949, 21: 2780, 22: 2186, 23: 2496, 24: 2402, 25: 1477, 26: 1974, 27: 1846, 28: 1470, 29: 1610
2 "开拓者" → 3: 2391, 4: 1021, 5: 2626, 6: 2955, 7: 2973, 8: 2772, 9: 3318, 10: 1332, 11: 1332, 12: 867, 13: 771, 14: 1621, 15: 4079, 16: 3919, 17: 3928, 18: 3876, 19: 3395, 20: 3492, 21: 4357, 22: 3681, 23: 4067, 24: 3782, 25: 2822, 26: 3302, 27: 3134, 28: 2761, 29: 3030
3 "雷  霆" → 4: 1389, 5: 304, 6: 667, 7: 678, 8: 677, 9: 927, 10: 1901, 11: 1901, 12: 2214, 13: 2155, 14: 1353, 15: 2404, 16: 2130, 17: 2135, 18: 2023, 19: 1796, 20: 1215, 21: 1974, 22: 1512, 23: 1702, 24: 1853, 25: 1112, 26: 1530, 27: 1469, 28: 1180, 29: 1108
4 "爵  士" → 5: 1608, 6: 1934, 7: 2011, 8: 1755, 9: 2308, 10: 936, 11: 936, 12: 948, 13: 856, 14: 815, 15: 3373, 16: 3163, 17: 3170, 18: 3095, 19: 2682, 20: 2546, 21: 3363, 22: 2778, 23: 3086, 24: 2969, 25: 2022, 26: 2521, 27: 2378, 28: 1996, 29: 2181
5 "小  牛" → 6: 365, 7: 676, 8: 405, 9: 713, 10: 1994, 11: 1994, 12: 2364, 13: 2318, 14: 1423, 15: 2495, 16: 2206, 17: 2210, 18: 2088, 19: 1937, 20: 1159, 21: 1789, 22: 1496, 23: 1548, 24: 1905, 25: 1293, 26: 1651, 27: 1621, 28: 1381, 29: 1230
6 "火  箭" → 7: 779, 8: 300, 9: 510, 10: 2211, 11: 2211, 12: 2627, 13: 2592, 14: 1634, 15: 2584, 16: 2284, 17: 2286, 18: 2155, 19: 2095, 20: 1128, 21: 1557, 22: 1491, 23: 1364, 24: 1964, 25: 1516, 26: 1795, 27: 1801, 28: 1621, 29: 1395
7 "灰  熊" → 8: 1012, 9: 577, 10: 2580, 11: 2580, 12: 2879, 13: 2814, 14: 2029, 15: 1828, 16: 1535, 17: 1538, 18: 1414, 19: 1315, 20: 540, 21: 1405, 22: 837, 23: 1098, 24: 1230, 25: 778, 26: 1016, 27: 1026, 28: 899, 29: 619
8 "马  刺" → 9: 810, 10: 1942, 11: 1942, 12: 2381, 13: 2354, 14: 1368, 15: 2839, 16: 2542, 17: 2545, 18: 2417, 19: 2314, 20: 1414, 21: 1843, 22: 1773, 23: 1661, 24: 2228, 25: 1690, 26: 2020, 27: 2006, 28: 1782, 29: 1606
9 "黄  蜂" → 10: 2690, 11: 2690, 12: 3076, 13: 3031, 14: 2114, 15: 2189, 16: 1885, 17: 1886, 18: 1750, 19: 1793, 20: 683, 21: 1077, 22: 1046, 23: 858, 24: 1555, 25: 1345, 26: 1490, 27: 1544, 28: 1470, 29: 1149
10 "快  船" → 11: 0, 12: 544, 13: 589, 14: 577, 15: 4176, 16: 3936, 17: 3943, 18: 3849, 19: 3500, 20: 3114, 21: 3764, 22: 3410, 23: 3541, 24: 3700, 25: 2805, 26: 3297, 27: 3178, 28: 2807, 29: 2911
11 "湖  人" → 12: 544, 13: 589, 14: 577, 15: 4176, 16: 3936, 17: 3943, 18: 3849, 19: 3500, 20: 3114, 21: 3764, 22: 3410, 23: 3541, 24: 3700, 25: 2805, 26: 3297, 27: 3178, 28: 2807, 29: 2911
12 "勇  士" → 13: 116, 14: 1033, 15: 4321, 16: 4109, 17: 4116, 18: 4038, 19: 3631, 20: 3420, 21: 4154, 22: 3682, 23: 3906, 24: 3907, 25: 2967, 26: 3466, 27: 3326, 28: 2944, 29: 3116
13 "国  王" → 14: 1027, 15: 4227, 16: 4019, 17: 4027, 18: 3950, 19: 3536, 20: 3355, 21: 4107, 22: 3609, 23: 3853, 24: 3822, 25: 2878, 26: 3377, 27: 3234, 28: 2851, 29: 3032
14 "太  阳" → 15: 3697, 16: 3442, 17: 3448, 18: 3347, 19: 3039, 20: 2558, 21: 3187, 22: 2865, 23: 2967, 24: 3187, 25: 2335, 26: 2812, 27: 2711, 28: 2354, 29: 2410
15 "凯尔特" → 16: 304, 17: 303, 18: 440, 19: 692, 20: 1508, 21: 2025, 22: 1160, 23: 1797, 24: 634, 25: 1370, 26: 884, 27: 999, 28: 1378, 29: 1297
16 "篮  网" → 17: 10, 18: 138, 19: 539, 20: 1204, 21: 1766, 22: 859, 23: 1519, 24: 330, 25: 1142, 26: 643, 27: 790, 28: 1172, 29: 1032
17 "尼克斯" → 18: 137, 19: 548, 20: 1205, 21: 1762, 22: 859, 23: 1516, 24: 330, 25: 1149, 26: 650, 27: 798, 28: 1180, 29: 1038
18 "76  人" → 19: 543, 20: 1068, 21: 1639, 22: 721, 23: 1386, 24: 194, 25: 1073, 26: 577, 27: 743, 28: 1117, 29: 938
19 "猛  龙" → 20: 1182, 21: 1989, 22: 945, 23: 1689, 24: 563, 25: 704, 26: 304, 27: 330, 28: 693, 29: 708
20 "老  鹰" → 21: 976, 22: 365, 23: 646, 24: 874, 25: 948, 26: 893, 27: 1000, 28: 1078, 29: 686
21 "热  火" → 22: 1053, 23: 330, 24: 1489, 25: 1919, 26: 1754, 27: 1903, 28: 2046, 29: 1652
22 "山  猫" → 23: 744, 24: 531, 25: 949, 26: 702, 27: 857, 28: 1062, 29: 689
23 "魔  术" → 24: 1220, 25: 1589, 26: 1441, 27: 1583, 28: 1716, 29: 1322
24 "奇  才" → 25: 961, 26: 490, 27: 673, 28: 1024, 29: 792
25 "公  牛" → 26: 499, 27: 375, 28: 131, 29: 268
26 "骑  士" → 27: 185, 28: 541, 29: 423
27 "活  塞" → 28: 383, 29: 407
28 "雄  鹿" → 29: 393)";

struct Reference
{
    std::map<int, std::u16string> captions;
    std::map<std::pair<int, int>, int> distances;
};

std::u16string fromUtf8(const std::string &text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += static_cast<char16_t>(cp); // all of our text lies in the BMP
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

Reference parseReference()
{
    Reference ref;
    std::istringstream lines(kReference);
    std::string line;
    while (std::getline(lines, line)) {
        const auto open = line.find('"');
        const auto close = line.find('"', open + 1);
        const int i = std::stoi(line.substr(0, open));
        ref.captions[i] = fromUtf8(line.substr(open + 1, close - open - 1));
        std::istringstream pairs(line.substr(line.find("\xE2\x86\x92") + 3));
        std::string item;
        while (std::getline(pairs, item, ',')) {
            const auto colon = item.find(':');
            ref.distances[{i, std::stoi(item.substr(0, colon))}] =
                std::stoi(item.substr(colon + 1));
        }
    }
    return ref;
}

TEST(DistanceTable, EveryPairMatchesTheReference)
{
    const Reference ref = parseReference();
    ASSERT_EQ(ref.captions.size(), 29u);
    ASSERT_EQ(ref.distances.size(), 435u);
    for (const auto &[i, text] : ref.captions)
        EXPECT_EQ(text, caption(i)) << "caption of team " << i;
    for (const auto &[pair, distance] : ref.distances) {
        const auto [i, j] = pair;
        ASSERT_LT(i, j);
        EXPECT_EQ(DistanceTable::lookup(ref.captions.at(i) + std::u16string(caption(j))), distance)
            << "teams " << i << " and " << j;
        EXPECT_EQ(DistanceTable::between(j, i), distance) << "teams " << j << " and " << i;
    }
}

TEST(DistanceTable, KeysAreUniqueLowerCaptionFirst)
{
    std::set<std::u16string> keys;
    for (int i = 0; i < kTeamCount; ++i) {
        for (int j = i + 1; j < kTeamCount; ++j) {
            const std::u16string key = PairKey(i, j);
            EXPECT_EQ(key, std::u16string(caption(i)) + std::u16string(caption(j)));
            EXPECT_GE(key.size(), 6u);
            EXPECT_LE(key.size(), 9u);
            keys.insert(key);
        }
    }
    EXPECT_EQ(keys.size(), static_cast<std::size_t>(DistanceTable::kEntryCount));
    // No key in descending order may collide with a key in ascending order.
    for (int i = 0; i < kTeamCount; ++i) {
        for (int j = i + 1; j < kTeamCount; ++j)
            EXPECT_EQ(keys.count(PairKey(j, i)), 0u) << j << " before " << i;
    }
}

TEST(DistanceTable, NoCaptionIsAPrefixOfAnother)
{
    for (int i = 0; i < kTeamCount; ++i) {
        for (int j = 0; j < kTeamCount; ++j) {
            if (i != j) {
                EXPECT_FALSE(caption(j).starts_with(caption(i))) << i << " prefixes " << j;
            }
        }
    }
}

TEST(DistanceTable, SharedCityTeamsAgreeEverywhere)
{
    EXPECT_EQ(DistanceTable::lookup(PairKey(10, 11)), 0);
    for (int k = 0; k < kTeamCount; ++k) {
        if (k == 10 || k == 11)
            continue;
        EXPECT_EQ(DistanceTable::between(k, 10), DistanceTable::between(k, 11)) << "team " << k;
        EXPECT_GT(*DistanceTable::between(k, 10), 0);
    }
}

TEST(DistanceTable, ValuesSpanTheExpectedRange)
{
    int largest = 0;
    int smallestPositive = 1 << 15;
    for (int i = 0; i < kTeamCount; ++i) {
        for (int j = i + 1; j < kTeamCount; ++j) {
            const int d = DistanceTable::lookup(PairKey(i, j));
            largest = std::max(largest, d);
            if (d > 0)
                smallestPositive = std::min(smallestPositive, d);
        }
    }
    EXPECT_EQ(largest, 4357);
    EXPECT_EQ(smallestPositive, 10);
}

struct KnownPair
{
    int i;
    int j;
    int distance;
};

class KnownPairs : public testing::TestWithParam<KnownPair>
{
};

TEST_P(KnownPairs, LookUp)
{
    const KnownPair p = GetParam();
    EXPECT_EQ(DistanceTable::lookup(PairKey(p.i, p.j)), p.distance);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeValues, KnownPairs,
    testing::Values(KnownPair{0, 1, 1125}, KnownPair{28, 29, 393}, KnownPair{10, 11, 0},
                    KnownPair{0, 10, 2452}, KnownPair{0, 11, 2452}, KnownPair{10, 12, 544},
                    KnownPair{11, 12, 544}, KnownPair{10, 29, 2911}, KnownPair{11, 29, 2911},
                    KnownPair{2, 21, 4357}, KnownPair{16, 17, 10}, KnownPair{1, 2, 2291},
                    KnownPair{0, 2, 2291}, KnownPair{18, 19, 543}, KnownPair{15, 16, 304}));

class NonKeys : public testing::TestWithParam<std::u16string>
{
};

TEST_P(NonKeys, GiveZero)
{
    EXPECT_EQ(DistanceTable::lookup(GetParam()), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NonKeys,
    testing::Values(std::u16string(u"掘  金森林狼"),       // higher index first
                    std::u16string(u"森林狼掘 金"),        // one space instead of two
                    std::u16string(u"森林狼掘金"),         // no spaces
                    std::u16string(u""),                   // empty
                    std::u16string(u"森林狼"),             // a single caption
                    std::u16string(u"76  人"),             // the five-unit caption alone
                    std::u16string(u"森林狼森林狼"),       // a team with itself
                    std::u16string(u"森林狼掘  金 "),      // trailing space
                    std::u16string(u" 森林狼掘  金"),      // leading space
                    std::u16string(u"森林狼掘  金开拓者"), // three captions
                    std::u16string(u"76 人猛  龙"),        // other spacing inside the first caption
                    std::u16string(u"快  船快  船")));

TEST(DistanceTable, BetweenRejectsNonPairs)
{
    EXPECT_FALSE(DistanceTable::between(3, 3));
    EXPECT_FALSE(DistanceTable::between(-1, 3));
    EXPECT_FALSE(DistanceTable::between(0, 30));
}

} // namespace
