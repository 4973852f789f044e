#include "app/chartpage/ChartAxes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace quarmel;

TEST(ChooseAxes, DefaultsAndTheSingleVariable) {
    struct Case {
        int count, x, y, yCount;
        int xIndex, yIndex, xVariable, yVariable;
        bool two;
    };
    const Case cases[] = {
        // Nothing chosen: X is the first variable, Y the second.
        {3, -1, -1, 4, 0, 2, 0, 1, true},
        // "-" on the Y list: a curve over X.
        {3, 2, 0, 4, 2, 0, 2, -1, false},
        // A choice stands.
        {3, 1, 3, 4, 1, 3, 1, 2, true},
        // One variable: both lists go to their first entry.
        {1, -1, -1, 1, 0, 0, 0, 1, false},
        {1, 0, 0, 1, 0, 0, 0, -1, false},
    };
    for (const Case& c : cases) {
        const AxisChoice a = ChooseAxes(c.count, c.x, c.y, c.yCount);
        EXPECT_EQ(a.XIndex, c.xIndex) << c.count << c.x << c.y;
        EXPECT_EQ(a.YIndex, c.yIndex) << c.count << c.x << c.y;
        EXPECT_EQ(a.XVariable, c.xVariable) << c.count << c.x << c.y;
        EXPECT_EQ(a.YVariable, c.yVariable) << c.count << c.x << c.y;
        EXPECT_EQ(a.TwoAxes, c.two) << c.count << c.x << c.y;
    }
}

TEST(RangeControls, LimitsTextsAndOrder) {
    EXPECT_EQ(LimitText(0.2f), "0,2");
    EXPECT_EQ(LimitText(-3.0f), "-3");
    EXPECT_EQ(LimitText(std::numeric_limits<float>::infinity()), "INF");

    EXPECT_EQ(WholeUnits(-2.7f), -2);
    EXPECT_EQ(WholeUnits(std::nanf("")), 0);
    EXPECT_EQ(WholeUnits(1e30f), std::numeric_limits<int>::max() / 2);

    const BarRange swapped = RangeBarLimits({"x", 5.5f, -1.5f, 0.0f});
    EXPECT_EQ(swapped.Low, -1);
    EXPECT_EQ(swapped.High, 5);

    EXPECT_EQ(OrderedPosition(3, 7, true), 3);
    EXPECT_EQ(OrderedPosition(7, 7, true), 6);
    EXPECT_EQ(OrderedPosition(8, 7, false), 9);
}

TEST(AxisLists, RefillKeepsTheYChoiceWhereTheNewListHasIt) {
    struct Case {
        std::vector<std::string> names;
        int rememberedY;
        std::vector<std::string> y;
        int yIndex;
    };
    const Case cases[] = {
        {{"x", "y", "c"}, -1, {"-", "x", "y", "c"}, -1},
        {{"x", "y", "c"}, 3, {"-", "x", "y", "c"}, 3},
        // A single variable: Y offers only "-", so a remembered 2 is gone.
        {{"x"}, 2, {"-"}, -1},
        {{"x"}, 0, {"-"}, 0},
        {{}, 0, {"-"}, 0},
    };
    for (const Case& c : cases) {
        const AxisLists lists = MakeAxisLists(c.names, c.rememberedY);
        EXPECT_EQ(lists.X, c.names);
        EXPECT_EQ(lists.Y, c.y) << c.names.size();
        EXPECT_EQ(lists.YIndex, c.yIndex) << c.names.size() << " " << c.rememberedY;
    }
}

TEST(RangeControls, TypedLimitsWithinTheBarIncludeItsEnds) {
    EXPECT_TRUE(WithinBar(-50, -50, 50));
    EXPECT_TRUE(WithinBar(50, -50, 50));
    EXPECT_TRUE(WithinBar(0.5, -50, 50));
    EXPECT_FALSE(WithinBar(50.01, -50, 50));
    EXPECT_FALSE(WithinBar(-50.01, -50, 50));
    // Not a number is not outside: the range edits resample with it, as they always did.
    EXPECT_TRUE(WithinBar(std::nan(""), -50, 50));
}
