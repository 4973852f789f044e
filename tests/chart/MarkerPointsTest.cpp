#include <gtest/gtest.h>

#include "chart/MarkerPoints.h"
#include "support/SolutionSupport.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

SolutionList ThreeSolutions() {
    return ListOf({Make({1, 2, 3}, 10), Make({4, 5, 6}, 20), Make({7, 8, 9}, 30)});
}

MarkerAxes Axes(float xMin, float xMax, float yMin, float yMax) {
    MarkerAxes a;
    a.XVariable = 2;
    a.YVariable = 0;
    a.DisplayXMin = xMin;
    a.DisplayXMax = xMax;
    a.DisplayYMin = yMin;
    a.DisplayYMax = yMax;
    return a;
}

using V = std::vector<float>;

TEST(MarkerPoints, TheTupleSizeFollowsTheAxesPresent) {
    const SolutionList list = ThreeSolutions();
    // Y present (even with X at 0 .. 0): X variable, Y variable, f.
    EXPECT_EQ(SolutionMarkers(list, Axes(0, 10, -1, 1)), (V{3, 1, 10, 6, 4, 20, 9, 7, 30}));
    EXPECT_EQ(SolutionMarkers(list, Axes(0, 0, 0, 1)), (V{3, 1, 10, 6, 4, 20, 9, 7, 30}));
    EXPECT_EQ(PopulationMarkers(list, Axes(0, 10, -1, 0)), (V{3, 1, 10, 6, 4, 20, 9, 7, 30}));
    // X only: X variable, f.
    EXPECT_EQ(SolutionMarkers(list, Axes(-5, 0, 0, 0)), (V{3, 10, 6, 20, 9, 30}));
    EXPECT_EQ(PopulationMarkers(list, Axes(-5, 0, 0, 0)), (V{3, 10, 6, 20, 9, 30}));
}

TEST(MarkerPoints, WithoutAxesOnlyTheFirstValueIsKept) {
    const SolutionList list = ThreeSolutions();
    EXPECT_EQ(SolutionMarkers(list, Axes(0, 0, 0, 0)), (V{10}));
    EXPECT_EQ(PopulationMarkers(list, Axes(0, 0, 0, 0)), (V{10, 10, 10}));
}

TEST(MarkerPoints, EmptyListsGiveEmptyMarkers) {
    const SolutionList empty;
    for (const MarkerAxes& a : {Axes(0, 1, 0, 1), Axes(0, 1, 0, 0), Axes(0, 0, 0, 0)}) {
        EXPECT_TRUE(SolutionMarkers(empty, a).empty());
        EXPECT_TRUE(PopulationMarkers(empty, a).empty());
    }
}

TEST(MarkerPoints, SolutionsWithoutTheAxisVariablesAreLeftOut) {
    // A list read from a file may hold fewer values than the problem has variables.
    const SolutionList shortList = ListOf({Make({1}, 10), Make({7}, 30)});
    const SolutionList list = ListOf({Make({4, 5, 6}, 20)});
    // X is variable 2, Y variable 0: only the complete Solutions give triples.
    EXPECT_EQ(SolutionMarkers(list, Axes(0, 10, -1, 1)), (V{6, 4, 20}));
    EXPECT_TRUE(SolutionMarkers(shortList, Axes(0, 10, -1, 1)).empty());
    EXPECT_EQ(PopulationMarkers(list, Axes(0, 10, 0, 0)), (V{6, 20}));
    MarkerAxes negative = Axes(0, 10, 0, 0);
    negative.XVariable = -1;
    EXPECT_TRUE(SolutionMarkers(list, negative).empty());

    // The other way round: every Solution holds X (variable 0), only the complete ones hold Y.
    MarkerAxes swapped = Axes(0, 10, -1, 1);
    swapped.XVariable = 0;
    swapped.YVariable = 2;
    EXPECT_EQ(SolutionMarkers(list, swapped), (V{4, 6, 20}));
    EXPECT_TRUE(PopulationMarkers(shortList, swapped).empty());
    swapped.YVariable = -1;
    EXPECT_TRUE(PopulationMarkers(list, swapped).empty());
    // Without the Y axis the Y variable is not read, so a missing one leaves nothing out.
    swapped.DisplayYMin = swapped.DisplayYMax = 0;
    EXPECT_EQ(SolutionMarkers(shortList, swapped), (V{1, 10, 7, 30}));
}

TEST(MarkerPoints, AppendingTheNewSolutionsGivesTheMarkersOfTheWholeList) {
    // Incomplete Solutions at the start, in the middle and at the end of the list.
    const SolutionList list = ListOf(
        {Make({1}, 10), Make({4, 5, 6}, 20), Make({7, 8}, 30), Make({1, 2, 3}, 40), Make({2}, 50)});
    for (const MarkerAxes& a : {Axes(0, 10, -1, 1), Axes(0, 10, 0, 0), Axes(0, 0, 0, 0)}) {
        const V whole = SolutionMarkers(list, a);
        for (std::size_t from = 0; from <= list.Count(); ++from) {
            SolutionList before;
            for (std::size_t i = 0; i < from; ++i) before.Append(list.At(i));
            V out = SolutionMarkers(before, a);
            AppendSolutionMarkers(list, from, a, out);
            EXPECT_EQ(out, whole) << from;
        }
    }
}

}  // namespace
