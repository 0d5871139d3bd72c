#include "core/checked.h"
#include "core/distancetable.h"
#include "core/form1logic.h"
#include "core/form1window.h"
#include "core/roster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using tarvell::Form1Logic;

// A window that behaves like the real one: changing a box re-enters the handler at once.
class FakeWindow : public tarvell::Form1Window
{
public:
    FakeWindow() : logic(*this) {}

    int boxValue(int team) const override { return values.at(static_cast<std::size_t>(team)); }
    void setBoxValue(int team, int value) override
    {
        int &v = values.at(static_cast<std::size_t>(team));
        if (v == value)
            return;
        v = value;
        handlerDepth++;
        handlerCalls++;
        maxHandlerDepth = std::max(maxHandlerDepth, handlerDepth);
        logic.c1Click(team);
        handlerDepth--;
    }
    std::u16string boxCaption(int team) const override
    {
        return std::u16string(tarvell::kRoster.at(static_cast<std::size_t>(team)).caption);
    }
    void setCommandEnabled(bool enabled) override { commandEnabled = enabled; }
    void showMessage(std::u16string_view text, std::u16string_view title) override
    {
        messages.push_back({std::u16string(text), std::u16string(title)});
        enabledDuringMessage.push_back(commandEnabled);
        selCountDuringMessage.push_back(logic.SelCount());
    }
    void showLogo(int slot, int logoId) override
    {
        ASSERT_GE(slot, 0);
        ASSERT_LT(slot, 2);
        logos.at(static_cast<std::size_t>(slot)) = logoId;
    }
    void setResultText(std::u16string_view text) override { result = text; }

    // What a user click does: flip the box, which runs the handler.
    void click(int team) { setBoxValue(team, boxValue(team) == 1 ? 0 : 1); }
    int ticked() const
    {
        int n = 0;
        for (int v : values)
            n += v == 1;
        return n;
    }

    Form1Logic logic;
    std::array<int, tarvell::kTeamCount> values{};
    bool commandEnabled = false;
    std::vector<std::pair<std::u16string, std::u16string>> messages;
    std::vector<bool> enabledDuringMessage;
    std::vector<int> selCountDuringMessage;
    std::array<int, 2> logos{};
    std::u16string result;
    int handlerDepth = 0;
    int maxHandlerDepth = 0;
    int handlerCalls = 0;
};

TEST(Selection, OneAndTwoTicks)
{
    FakeWindow w;
    w.click(5);
    EXPECT_EQ(w.logic.SelCount(), 1);
    EXPECT_FALSE(w.commandEnabled);
    w.click(20);
    EXPECT_EQ(w.logic.SelCount(), 2);
    EXPECT_TRUE(w.commandEnabled);
    w.click(5);
    EXPECT_EQ(w.logic.SelCount(), 1);
    EXPECT_FALSE(w.commandEnabled);
    EXPECT_TRUE(w.messages.empty());
}

TEST(Selection, ThirdTickIsRefusedAndUndone)
{
    FakeWindow w;
    w.click(0);
    w.click(1);
    w.click(29);
    ASSERT_EQ(w.messages.size(), 1u);
    EXPECT_EQ(w.messages[0].first, u"你已经选择了球队。");
    EXPECT_EQ(w.messages[0].second, u"错误！");
    EXPECT_FALSE(w.enabledDuringMessage[0]);
    EXPECT_EQ(w.selCountDuringMessage[0], 3);
    EXPECT_EQ(w.maxHandlerDepth, 2) << "the undo must re-enter the handler";
    EXPECT_EQ(w.boxValue(29), 0);
    EXPECT_EQ(w.boxValue(0), 1);
    EXPECT_EQ(w.boxValue(1), 1);
    EXPECT_EQ(w.logic.SelCount(), 2);
    EXPECT_TRUE(w.commandEnabled);
}

TEST(Selection, RepeatedTogglingReturnsToTheSameCount)
{
    FakeWindow w;
    w.click(7);
    for (int round = 0; round < 500; ++round)
        w.click(12);
    EXPECT_EQ(w.logic.SelCount(), 1);
    w.click(12);
    EXPECT_EQ(w.logic.SelCount(), 2);
    for (int round = 0; round < 50; ++round)
        w.click(3);
    EXPECT_EQ(w.messages.size(), 50u)
        << "every refused tick is undone, so the next one is refused too";
    EXPECT_EQ(w.logic.SelCount(), 2);
    EXPECT_EQ(w.ticked(), 2);
}

TEST(Selection, GreyedBoxCountsNeitherWay)
{
    FakeWindow w;
    w.click(4);
    w.setBoxValue(9, 2);
    EXPECT_EQ(w.logic.SelCount(), 1);
    EXPECT_FALSE(w.commandEnabled);
}

struct CalcCase
{
    const char *name;
    int first;
    int second;
    int lower;
    int higher;
    std::u16string text;
};

class Calculate : public testing::TestWithParam<CalcCase>
{
};

TEST_P(Calculate, ShowsLogosDistanceAndResets)
{
    const CalcCase c = GetParam();
    FakeWindow w;
    w.click(c.first);
    w.click(c.second);
    ASSERT_TRUE(w.commandEnabled);
    w.logic.Command1Click();
    EXPECT_EQ(w.result, c.text);
    EXPECT_EQ(w.logos[0], c.lower + 1) << "lower index goes to slot 0 whatever was ticked first";
    EXPECT_EQ(w.logos[1], c.higher + 1);
    EXPECT_EQ(w.ticked(), 0);
    EXPECT_EQ(w.logic.SelCount(), 0);
    EXPECT_FALSE(w.commandEnabled);
    EXPECT_TRUE(w.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Pairs, Calculate,
                         testing::Values(CalcCase{"Ordered", 0, 1, 0, 1, u"1125km "},
                                         CalcCase{"Reversed", 1, 0, 0, 1, u"1125km "},
                                         CalcCase{"SharedCity", 11, 10, 10, 11, u"0km "},
                                         CalcCase{"Largest", 21, 2, 2, 21, u"4357km "},
                                         CalcCase{"FiveUnitCaption", 19, 18, 18, 19, u"543km "},
                                         CalcCase{"LastPair", 28, 29, 28, 29, u"393km "}),
                         [](const testing::TestParamInfo<CalcCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(Calculate, EveryPairShowsItsTableDistance)
{
    for (int i = 0; i < tarvell::kTeamCount; ++i) {
        for (int j = i + 1; j < tarvell::kTeamCount; ++j) {
            FakeWindow w;
            w.click(j);
            w.click(i);
            w.logic.Command1Click();
            const std::string digits = std::to_string(*tarvell::DistanceTable::between(i, j));
            EXPECT_EQ(w.result, std::u16string(digits.begin(), digits.end()) + u"km ");
            EXPECT_EQ(w.logos[0], i + 1);
            EXPECT_EQ(w.logos[1], j + 1);
        }
    }
}

TEST(Calculate, SecondPressReplacesLogosAndText)
{
    FakeWindow w;
    w.click(0);
    w.click(1);
    w.logic.Command1Click();
    w.click(16);
    w.click(17);
    EXPECT_EQ(w.result, u"1125km ") << "text stays until the next press";
    EXPECT_EQ(w.logos[0], 1);
    w.logic.Command1Click();
    EXPECT_EQ(w.result, u"10km ");
    EXPECT_EQ(w.logos[0], 17);
    EXPECT_EQ(w.logos[1], 18);
    EXPECT_EQ(w.logic.SelCount(), 0);
}

TEST(Calculate, ResetRunsTheHandlerOnlyForTickedBoxes)
{
    FakeWindow w;
    w.click(3);
    w.click(26);
    const int before = w.handlerCalls;
    w.logic.Command1Click();
    EXPECT_EQ(w.handlerCalls - before, 2);
    EXPECT_EQ(w.logic.SelCount(), 0);
}

} // namespace

namespace {

struct CounterCase
{
    int start;
    int delta;
    bool overflows;
};

class Counters : public testing::TestWithParam<CounterCase>
{
};

TEST_P(Counters, OverflowIsAnErrorNeverAWrap)
{
    const CounterCase c = GetParam();
    const auto start = static_cast<std::int16_t>(c.start);
    if (c.overflows) {
        EXPECT_THROW(tarvell::checkedAdd(start, c.delta), std::overflow_error);
    } else {
        EXPECT_EQ(tarvell::checkedAdd(start, c.delta), c.start + c.delta);
    }
}

INSTANTIATE_TEST_SUITE_P(Bounds, Counters,
                         testing::Values(CounterCase{32766, 1, false}, CounterCase{32767, 1, true},
                                         CounterCase{-32767, -1, false},
                                         CounterCase{-32768, -1, true}, CounterCase{0, -1, false},
                                         CounterCase{2, 1, false}));

} // namespace
