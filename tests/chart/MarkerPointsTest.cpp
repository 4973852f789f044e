#include <gtest/gtest.h>

#include <algorithm>

#include "chart/ChartModel.h"
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

// Points are made with the tuples only when the model reads the tuples as the kind they are;
// otherwise the model works them out from the tuples when a frame asks.
TEST(MarkerPoints, PointsAreMadeWithTheTuplesOnlyForTheModelsOwnAxes) {
    const SolutionList list = ThreeSolutions();
    std::vector<float> tuples;
    std::vector<ScenePoint> points;
    for (const bool sameAxes : {true, false}) {
        ChartModel chart;
        // The model's X axis only, the tuples' X axis only, or both axes.
        chart.SetSurface(0, 10, 0, 0, 0, 40, {});
        const MarkerAxes axes = sameAxes ? Axes(0, 10, 0, 0) : Axes(0, 10, 0, 9);
        EXPECT_EQ(SolutionMarkersPlaced(list, axes, chart, tuples, points), sameAxes);
        EXPECT_EQ(tuples, SolutionMarkers(list, axes));
        const std::vector<ScenePoint> expected =
            sameAxes ? chart.ScenePoints(tuples, false) : std::vector<ScenePoint>{};
        ASSERT_EQ(points.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_TRUE(points[i].X == expected[i].X && points[i].Z == expected[i].Z) << i;
        }
    }
}

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

// Millions of solutions are turned into markers and scene points in two halves side by side:
// every solution's tuple and point lands in its own place, at the seam too, and a list that
// grew by a few solutions after that appends only theirs.
TEST(MarkerPoints, AListOfMillionsGivesEveryTupleAndPointInOrder) {
    SolutionList list;
    const std::size_t n = (std::size_t{1} << 21) + 3;
    list.Resize(n, 3);
    for (std::size_t i = 0; i < n; ++i) {
        SolutionRef s = list.At(i);
        s.Values[0] = static_cast<float>(i % 1000);
        s.Values[1] = -static_cast<float>(i % 777);
        s.Values[2] = static_cast<float>(i % 100) * 0.1f;
        s.Value = static_cast<float>(i % 4000) * 0.005f;
    }
    const MarkerAxes axes = Axes(0, 10, -1000, 0);
    std::vector<float> markers = SolutionMarkers(list, axes);
    ChartModel chart;
    chart.SetData(0, 10, -1000, 0, 0, 20, std::vector<float>(10000, 0.0f), markers, {});
    const std::vector<ScenePoint>* scene = &chart.SolutionScene(false);
    // The same tuples and points made in one pass, kept by a second model.
    ChartModel placed;
    placed.SetSurface(0, 10, -1000, 0, 0, 20, std::vector<float>(10000, 0.0f));
    std::vector<float> tuples;
    std::vector<ScenePoint> points;
    ASSERT_TRUE(SolutionMarkersPlaced(list, axes, placed, tuples, points));
    EXPECT_EQ(tuples, markers);
    placed.SetSolutionPoints(std::move(tuples), std::move(points));
    for (const int pass : {0, 1}) {
        ASSERT_EQ(markers.size(), 3 * list.Count());
        ASSERT_EQ(scene->size(), list.Count());
        const std::vector<ScenePoint>& other = placed.SolutionScene(false);
        ASSERT_EQ(other.size(), list.Count());
        for (std::size_t i = 0; i < list.Count(); ++i) {
            const SolutionView s = list.At(i);
            const float tuple[3] = {s.Values[2], s.Values[0], s.Value};
            ASSERT_TRUE(std::equal(tuple, tuple + 3, markers.begin() + 3 * i)) << i;
            const ScenePoint p = chart.MapTriple(s.Values[2], s.Values[0], s.Value);
            ASSERT_TRUE(p.X == (*scene)[i].X && p.Y == (*scene)[i].Y && p.Z == (*scene)[i].Z) << i;
            ASSERT_TRUE(p.X == other[i].X && p.Y == other[i].Y && p.Z == other[i].Z) << i;
        }
        if (pass == 0) {
            const std::size_t from = list.Count();
            list.Append(Make({1, -2, 3}, 4));
            list.Append(Make({5, -6, 7}, 8));
            std::vector<float> more;
            AppendSolutionMarkers(list, from, axes, more);
            markers.insert(markers.end(), more.begin(), more.end());
            chart.AppendSolutionPoints(more);
            placed.AppendSolutionPoints(more);
            scene = &chart.SolutionScene(false);
        }
    }
}
