#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The thirty teams and the six division rows, fixed when the program is built.
// Positions are in twips relative to the top-left corner of the team's conference frame.
namespace tarvell {

inline constexpr int kTeamCount = 30;
inline constexpr int kDivisionCount = 6;
inline constexpr int kBoxWidthTwips = 840;
inline constexpr int kBoxHeightTwips = 315;

struct Team
{
    std::int16_t TeamIndex;
    // Two-character nicknames carry two ASCII spaces; they are part of the caption and of
    // every pair key, so nothing may trim or collapse them.
    std::u16string_view caption;
    int frame;    // conference frame: 0 West, 1 East
    int division; // index of the division label heading the team's row
    int left;
    int top;
    int tabIndex;
    int logoId; // TeamIndex + 1
};

struct Division
{
    int index;
    int frame;
    std::u16string_view caption;
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
};

namespace detail {
inline constexpr std::array<int, 5> kColumnLeft{1470, 2610, 3750, 4890, 6030};
inline constexpr std::array<int, 3> kRowTop{300, 825, 1350};

constexpr Team team(std::int16_t index, std::u16string_view caption)
{
    const int frame = index < 15 ? 0 : 1;
    const int inFrame = index % 15;
    // Keyboard focus walks the West boxes upwards and the East boxes downwards.
    const int tab = frame == 0 ? 5 + index : 38 - (index - 15);
    return Team{index,
                caption,
                frame,
                frame * 3 + inFrame / 5,
                kColumnLeft[static_cast<std::size_t>(inFrame % 5)],
                kRowTop[static_cast<std::size_t>(inFrame / 5)],
                tab,
                index + 1};
}
} // namespace detail

inline constexpr std::array<Team, kTeamCount> kRoster{{
    detail::team(0, u"森林狼"),  detail::team(1, u"掘  金"),  detail::team(2, u"开拓者"),
    detail::team(3, u"雷  霆"),  detail::team(4, u"爵  士"),  detail::team(5, u"小  牛"),
    detail::team(6, u"火  箭"),  detail::team(7, u"灰  熊"),  detail::team(8, u"马  刺"),
    detail::team(9, u"黄  蜂"),  detail::team(10, u"快  船"), detail::team(11, u"湖  人"),
    detail::team(12, u"勇  士"), detail::team(13, u"国  王"), detail::team(14, u"太  阳"),
    detail::team(15, u"凯尔特"), detail::team(16, u"篮  网"), detail::team(17, u"尼克斯"),
    detail::team(18, u"76  人"), detail::team(19, u"猛  龙"), detail::team(20, u"老  鹰"),
    detail::team(21, u"热  火"), detail::team(22, u"山  猫"), detail::team(23, u"魔  术"),
    detail::team(24, u"奇  才"), detail::team(25, u"公  牛"), detail::team(26, u"骑  士"),
    detail::team(27, u"活  塞"), detail::team(28, u"雄  鹿"), detail::team(29, u"步行者"),
}};

inline constexpr std::array<Division, kDivisionCount> kDivisions{{
    {0, 0, u"西北赛区：", 60, 375, 975, 195, 22},
    {1, 0, u"西南赛区：", 60, 900, 975, 195, 21},
    {2, 0, u"太平洋赛区：", 60, 1425, 1170, 195, 20},
    {3, 1, u"大西洋赛区：", 60, 360, 1170, 195, 41},
    {4, 1, u"东南赛区：", 60, 885, 1170, 195, 40},
    {5, 1, u"中部赛区：", 60, 1425, 1170, 195, 39},
}};

} // namespace tarvell
