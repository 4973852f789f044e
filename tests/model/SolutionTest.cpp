#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/Improvement.h"
#include "model/Solution.h"
#include "support/SolutionSupport.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

SolutionList ListOfValues(std::initializer_list<float> values) {
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
    Solution best = list.Best(true);
    EXPECT_EQ(best.Value, 5);
    EXPECT_EQ(best.Values[0], 1.0f);  // index 1, not 2
}

TEST(SolutionListBest, MinimisingPicksFirstOfEqualBestValues) {
    SolutionList list = ListOfValues({2, 1, 1});
    Solution best = list.Best(false);
    EXPECT_EQ(best.Value, 1);
    EXPECT_EQ(best.Values[0], 1.0f);
}

TEST(SolutionListBest, SingleSolutionIsBestInBothDirections) {
    SolutionList list = ListOfValues({7});
    EXPECT_EQ(list.Best(true).Value, 7);
    EXPECT_EQ(list.Best(false).Value, 7);
}

TEST(SolutionListBest, OnlyStrictlyBetterValuesDisplaceSoNotANumberNeverDoes) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Maximising: NaN > 1 is false, so 1 stays and 4 then displaces it.
    SolutionList list = ListOfValues({1, nan, 4});
    EXPECT_EQ(list.Best(true).Value, 4);
    EXPECT_EQ(list.Best(true).Values[0], 2.0f);
    EXPECT_EQ(list.Best(false).Value, 1);
    // A trailing NaN is not taken when maximising (the improvement rule would take it).
    EXPECT_EQ(ListOfValues({1, nan}).Best(true).Value, 1);
    // A NaN first stays: no value is strictly greater or smaller than it.
    EXPECT_TRUE(std::isnan(ListOfValues({nan, 4}).Best(true).Value));
    EXPECT_TRUE(std::isnan(ListOfValues({nan, 4}).Best(false).Value));
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

TEST(ImprovementRule, NotANumberImprovesOnlyWhenMaximising) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(Improves(2, nan, true));
    EXPECT_FALSE(Improves(2, nan, false));
    // From a NaN current value any candidate improves when maximising, none when minimising.
    EXPECT_TRUE(Improves(nan, 1, true));
    EXPECT_FALSE(Improves(nan, 1, false));
}
