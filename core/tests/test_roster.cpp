#include "core/roster.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using tarvell::kDivisions;
using tarvell::kRoster;
using tarvell::kTeamCount;

const tarvell::Team &team(int i)
{
    return kRoster[static_cast<std::size_t>(i)];
}

TEST(Roster, IndexesAndLogoIds)
{
    for (int i = 0; i < kTeamCount; ++i) {
        EXPECT_EQ(team(i).TeamIndex, i);
        EXPECT_EQ(team(i).logoId, i + 1);
    }
}

struct CaptionCase
{
    int team;
    std::vector<char16_t> units;
};

class Captions : public testing::TestWithParam<CaptionCase>
{
};

TEST_P(Captions, ExactCodeUnits)
{
    const CaptionCase c = GetParam();
    const std::u16string_view caption = team(c.team).caption;
    EXPECT_EQ(std::vector<char16_t>(caption.begin(), caption.end()), c.units);
}

INSTANTIATE_TEST_SUITE_P(Samples, Captions,
                         testing::Values(CaptionCase{0, {0x68EE, 0x6797, 0x72FC}},
                                         CaptionCase{1, {0x6398, 0x0020, 0x0020, 0x91D1}},
                                         CaptionCase{11, {0x6E56, 0x0020, 0x0020, 0x4EBA}},
                                         CaptionCase{15, {0x51EF, 0x5C14, 0x7279}},
                                         CaptionCase{18, {0x0037, 0x0036, 0x0020, 0x0020, 0x4EBA}},
                                         CaptionCase{29, {0x6B65, 0x884C, 0x8005}}));

TEST(Roster, CaptionShapes)
{
    std::set<std::u16string_view> seen;
    for (const auto &t : kRoster) {
        const auto n = t.caption.size();
        // Six display columns: three wide characters, or two with two spaces between them.
        if (n == 4) {
            EXPECT_EQ(t.caption.substr(1, 2), u"  ") << t.TeamIndex;
        } else if (n != 3) {
            EXPECT_EQ(t.TeamIndex, 18);
            EXPECT_EQ(n, 5u);
        }
        EXPECT_TRUE(seen.insert(t.caption).second) << "duplicate caption " << t.TeamIndex;
    }
}

struct PlaceCase
{
    int team;
    int frame;
    int division;
    int left;
    int top;
    int tabIndex;
};

class Places : public testing::TestWithParam<PlaceCase>
{
};

TEST_P(Places, FrameRowAndTab)
{
    const PlaceCase c = GetParam();
    EXPECT_EQ(team(c.team).frame, c.frame);
    EXPECT_EQ(team(c.team).division, c.division);
    EXPECT_EQ(team(c.team).left, c.left);
    EXPECT_EQ(team(c.team).top, c.top);
    EXPECT_EQ(team(c.team).tabIndex, c.tabIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Corners, Places,
    testing::Values(PlaceCase{0, 0, 0, 1470, 300, 5}, PlaceCase{4, 0, 0, 6030, 300, 9},
                    PlaceCase{7, 0, 1, 3750, 825, 12}, PlaceCase{14, 0, 2, 6030, 1350, 19},
                    PlaceCase{15, 1, 3, 1470, 300, 38}, PlaceCase{18, 1, 3, 4890, 300, 35},
                    PlaceCase{22, 1, 4, 3750, 825, 31}, PlaceCase{25, 1, 5, 1470, 1350, 28},
                    PlaceCase{29, 1, 5, 6030, 1350, 24}));

TEST(Roster, TabIndexesFillFiveToFortyOneWithTheLabels)
{
    std::set<int> tabs;
    for (const auto &t : kRoster)
        tabs.insert(t.tabIndex);
    for (const auto &d : kDivisions)
        tabs.insert(d.tabIndex);
    EXPECT_EQ(tabs.size(), 36u);
    EXPECT_EQ(*tabs.begin(), 5);
    EXPECT_EQ(*tabs.rbegin(), 41);
    EXPECT_FALSE(tabs.count(23)) << "23 belongs to the East frame itself";
}

TEST(Roster, EveryBoxSitsInItsDivisionRowRightOfTheLabel)
{
    for (const auto &t : kRoster) {
        const auto &label = kDivisions[static_cast<std::size_t>(t.division)];
        EXPECT_EQ(label.frame, t.frame);
        EXPECT_GE(t.left, label.left + label.width) << t.TeamIndex;
        EXPECT_LE(std::abs(t.top - label.top), tarvell::kBoxHeightTwips) << t.TeamIndex;
    }
}

} // namespace
