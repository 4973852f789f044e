#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "model/Improvement.h"
#include "model/Solution.h"
#include "support/SolutionSupport.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

SolutionList ListOfValues(const std::vector<float>& values) {
    SolutionList list;
    float x = 0;
    for (float v : values) {
        list.Append(Make({x, -(x + 1)}, v));
        x += 1;
    }
    return list;
}

}  // namespace

TEST(SolutionListBest, MaximisingPicksFirstOfEqualBestValues) {
    SolutionList list = ListOfValues({3, 5, 5});
    const SolutionView best = list.Best(true);
    EXPECT_EQ(best.Value, 5);
    EXPECT_EQ(best.Values[0], 1.0f);  // index 1, not 2
}

TEST(SolutionListBest, MinimisingPicksFirstOfEqualBestValues) {
    SolutionList list = ListOfValues({2, 1, 1});
    const SolutionView best = list.Best(false);
    EXPECT_EQ(best.Value, 1);
    EXPECT_EQ(best.Values[0], 1.0f);
}

TEST(SolutionListBest, SingleSolutionIsBestInBothDirections) {
    SolutionList list = ListOfValues({7});
    EXPECT_EQ(list.Best(true).Value, 7);
    EXPECT_EQ(list.Best(false).Value, 7);
}

TEST(SolutionListBest, NotANumberNeverDisplacesANumberAndAnyNumberDisplacesIt) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // {values, maximise, index of the best}
    const struct {
        std::vector<float> values;
        bool maximize;
        float index;
    } cases[] = {
        {{1, nan, 4}, true, 2}, {{1, nan, 4}, false, 0}, {{1, nan}, true, 0},
        {{nan, 4}, true, 1},    {{nan, 4}, false, 1},    {{nan, nan, 3, 3}, false, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ListOfValues(c.values).Best(c.maximize).Values[0], c.index)
            << c.maximize << " " << c.index;
    }
    EXPECT_TRUE(std::isnan(ListOfValues({nan, nan}).Best(true).Value));
}

TEST(SolutionListCopy, CopyIsDeep) {
    SolutionList a = ListOfValues({1, 2});
    SolutionList b = a;
    b.At(0).Values[0] = 99;
    b.At(1).Value = 42;
    EXPECT_EQ(a.VarValue(0, 0), 0.0f);
    EXPECT_EQ(a.FuncValue(1), 2.0f);
    Solution c = a.CopyAt(0);
    c.Values[1] = 5;
    EXPECT_EQ(a.VarValue(0, 1), -1.0f);
}

TEST(SolutionListCopy, SelfAssignmentKeepsTheList) {
    SolutionList a = ListOfValues({1, 2, 3});
    SolutionList& alias = a;
    a = alias;
    ASSERT_EQ(a.Count(), 3u);
    EXPECT_EQ(a.FuncValue(2), 3.0f);
    EXPECT_EQ(a.VarValue(2, 0), 2.0f);
}

TEST(SolutionListCopy, AssigningShorterListLeavesOnlyItsElements) {
    SolutionList longer = ListOfValues({1, 2, 3, 4});
    longer = ListOfValues({9});
    ASSERT_EQ(longer.Count(), 1u);
    EXPECT_EQ(longer.FuncValue(0), 9.0f);
}

TEST(SolutionListAccess, LastAndCountAccessors) {
    SolutionList list;
    list.Append(Solution{{1.5f, 2.5f, 3.5f}, 10});
    list.Append(Solution{{4.5f, 5.5f, 6.5f}, 20});
    EXPECT_EQ(list.VariableCount(), 3u);
    EXPECT_EQ(list.LastVarValue(2), 6.5f);
    EXPECT_EQ(list.LastFuncValue(), 20.0f);
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
}

TEST(SolutionListAccess, ValuesAreSinglePrecision) {
    const double exact = 0.1;
    SolutionList list;
    list.Append(Solution{{static_cast<float>(exact)}, static_cast<float>(exact * 3)});
    EXPECT_NE(static_cast<double>(list.VarValue(0, 0)), exact);
    EXPECT_EQ(list.VarValue(0, 0), 0.1f);
    EXPECT_EQ(list.FuncValue(0), static_cast<float>(0.30000000000000004));
}

TEST(ImprovementRule, StrictInBothDirections) {
    EXPECT_FALSE(Improves(2, 2, false));
    EXPECT_TRUE(Improves(2, 1.5f, false));
    EXPECT_FALSE(Improves(2, 2.5f, false));
    EXPECT_FALSE(Improves(2, 2, true));
    EXPECT_TRUE(Improves(2, 2.5f, true));
    EXPECT_FALSE(Improves(2, 1.5f, true));
}

TEST(ImprovementRule, NotANumberNeverImprovesAndAnyNumberImprovesOnIt) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // {current, candidate, improves when minimising, improves when maximising}
    const struct {
        float u, c;
        bool minimising, maximising;
    } cases[] = {
        {2, nan, false, false},   {nan, nan, false, false}, {inf, nan, false, false},
        {nan, 1, true, true},     {nan, -inf, true, true},  {nan, inf, true, true},
        {inf, inf, false, false}, {1, inf, false, true},    {1, -inf, true, false},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(Improves(k.u, k.c, false), k.minimising) << k.u << " -> " << k.c;
        EXPECT_EQ(Improves(k.u, k.c, true), k.maximising) << k.u << " -> " << k.c;
    }
}
