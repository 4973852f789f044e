#include "ui/RunProgress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quarmel {
namespace {

Solution Make(std::vector<float> values, float value) {
    Solution s;
    s.Values = std::move(values);
    s.Value = value;
    return s;
}

SolutionList ListOf(std::initializer_list<Solution> items) {
    SolutionList list;
    for (const Solution& s : items) list.Append(s);
    return list;
}

// A worker whose run may end while the window copies its lists.
struct FakeWorker {
    SolutionList solutions;
    SolutionList population;
    bool finished = false;
    bool finishDuringSnapshot = false;
    int snapshots = 0;

    bool IsFinished() const { return finished; }
    SolutionList SnapshotSolutions() {
        ++snapshots;
        SolutionList copy = solutions;
        if (finishDuringSnapshot) {
            // The last step lands right after the copy, then the run ends.
            solutions.Append(Make({9.0f}, 9.0f));
            finished = true;
        }
        return copy;
    }
    SolutionList SnapshotPopulation() const { return population; }
};

TEST(PollRun, WithoutWorkerNothingChangesAndTheRunHasNotEnded) {
    SolutionList sols = ListOf({Make({1.0f}, 1.0f)});
    SolutionList pop;
    EXPECT_FALSE(PollRun<FakeWorker>(nullptr, false, sols, pop));
    EXPECT_EQ(sols.Count(), 1u);
}

TEST(PollRun, CopiesBothListsUnlessResultsAreIgnored) {
    FakeWorker w;
    w.solutions = ListOf({Make({1.0f}, 1.0f), Make({2.0f}, 2.0f)});
    w.population = ListOf({Make({3.0f}, 3.0f)});
    SolutionList sols, pop;
    EXPECT_FALSE(PollRun(&w, false, sols, pop));
    EXPECT_EQ(sols.Count(), 2u);
    EXPECT_EQ(pop.Count(), 1u);

    // Ignored results keep what the window shows, yet the end of the run is still noticed.
    w.finished = true;
    SolutionList loaded = ListOf({Make({7.0f}, 7.0f)});
    SolutionList emptyPop;
    EXPECT_TRUE(PollRun(&w, true, loaded, emptyPop));
    EXPECT_EQ(loaded.Count(), 1u);
    EXPECT_FLOAT_EQ(loaded.FuncValue(0), 7.0f);
    EXPECT_EQ(w.snapshots, 1);
}

TEST(PollRun, AnEndDuringTheCopyIsReportedOnlyWithTheFinalLists) {
    FakeWorker w;
    w.solutions = ListOf({Make({1.0f}, 1.0f)});
    w.finishDuringSnapshot = true;
    SolutionList sols, pop;
    EXPECT_FALSE(PollRun(&w, false, sols, pop));
    EXPECT_EQ(sols.Count(), 1u);
    w.finishDuringSnapshot = false;
    EXPECT_TRUE(PollRun(&w, false, sols, pop));
    ASSERT_EQ(sols.Count(), 2u);
    EXPECT_FLOAT_EQ(sols.FuncValue(1), 9.0f);
}

TEST(Markers, TriplesWithAYAxisInListOrder) {
    SolutionList list = ListOf({Make({1, 2, 3}, 10), Make({4, 5, 6}, 20)});
    MarkerAxes axes;
    axes.AxisXVariable = 2;
    axes.AxisYVariable = 0;
    axes.DisplayXMin = -1;
    axes.DisplayXMax = 1;
    axes.DisplayYMin = -5;  // a Y range of -5 .. 0 is present
    EXPECT_EQ(SolutionMarkers(list, axes), (std::vector<float>{3, 1, 10, 6, 4, 20}));
    EXPECT_EQ(PopulationMarkers(list, axes), (std::vector<float>{3, 1, 10, 6, 4, 20}));
}

TEST(Markers, PairsWithOnlyAnXAxis) {
    SolutionList list = ListOf({Make({1, 2}, 10), Make({4, 5}, 20)});
    MarkerAxes axes;
    axes.AxisXVariable = 1;
    axes.AxisYVariable = 0;
    axes.DisplayXMax = 3;
    EXPECT_EQ(SolutionMarkers(list, axes), (std::vector<float>{2, 10, 5, 20}));
}

TEST(Markers, WithoutAxesOnlyTheFirstHeight) {
    SolutionList list = ListOf({Make({}, 10), Make({}, 20), Make({}, 30)});
    MarkerAxes none;
    EXPECT_EQ(SolutionMarkers(list, none), (std::vector<float>{10}));
    EXPECT_EQ(PopulationMarkers(list, none), (std::vector<float>{10, 10, 10}));
    EXPECT_TRUE(SolutionMarkers(SolutionList(), none).empty());
    EXPECT_TRUE(PopulationMarkers(SolutionList(), none).empty());
}

TEST(Markers, SolutionsTooShortForTheAxesAreLeftOut) {
    SolutionList list = ListOf({Make({1}, 10), Make({1, 2}, 20)});
    MarkerAxes axes;
    axes.AxisXVariable = 0;
    axes.AxisYVariable = 1;
    axes.DisplayXMax = 1;
    axes.DisplayYMax = 1;
    EXPECT_EQ(SolutionMarkers(list, axes), (std::vector<float>{1, 2, 20}));
    axes.AxisXVariable = -1;
    EXPECT_TRUE(SolutionMarkers(list, axes).empty());
}

TEST(GeneralNumberText, FixedWithDecimalCommaAndNoTrailingZeros) {
    EXPECT_EQ(GeneralNumberText(31, 7), "31");
    EXPECT_EQ(GeneralNumberText(-2.5, 6), "-2,5");
    EXPECT_EQ(GeneralNumberText(0, 6), "0");
    EXPECT_EQ(GeneralNumberText(0.1f, 6), "0,1");  // the float's tail is rounded away
    EXPECT_EQ(GeneralNumberText(3.14159265, 6), "3,14159");
    EXPECT_EQ(GeneralNumberText(3.14159265, 7), "3,141593");
    EXPECT_EQ(GeneralNumberText(123456.7, 6), "123457");
    EXPECT_EQ(GeneralNumberText(0.0001, 6), "0,0001");
    EXPECT_EQ(GeneralNumberText(0.00001, 6), "0,00001");
}

TEST(GeneralNumberText, ExponentWhenTooLargeOrTooSmall) {
    EXPECT_EQ(GeneralNumberText(1234567, 6), "1,23457E6");
    EXPECT_EQ(GeneralNumberText(1234567, 7), "1234567");
    EXPECT_EQ(GeneralNumberText(12345678, 7), "1,234568E7");
    // Rounding up to a new digit counts: 999999.7 has seven digits before the comma at six.
    EXPECT_EQ(GeneralNumberText(999999.7, 6), "1E6");
    EXPECT_EQ(GeneralNumberText(0.000001, 6), "1E-6");
    EXPECT_EQ(GeneralNumberText(-0.0000025, 6), "-2,5E-6");
}

TEST(GeneralNumberText, NotANumberAndInfinities) {
    EXPECT_EQ(GeneralNumberText(std::numeric_limits<double>::quiet_NaN(), 6), "NAN");
    EXPECT_EQ(GeneralNumberText(std::numeric_limits<double>::infinity(), 6), "INF");
    EXPECT_EQ(GeneralNumberText(-std::numeric_limits<double>::infinity(), 6), "-INF");
}

TEST(ResultLabels, MinimisingShowsTheFirstAndTheSmallest) {
    SolutionList list = ListOf({Make({}, 5), Make({}, 3), Make({}, 4)});
    EXPECT_EQ(InitialSolutionText(list), "5");
    EXPECT_EQ(OptimalSolutionText(list, false), "3");
}

TEST(ResultLabels, MaximisingTakesTheLargestAndAnUnorderedValue) {
    SolutionList list = ListOf({Make({}, 5), Make({}, 7.25f), Make({}, 6)});
    EXPECT_EQ(OptimalSolutionText(list, true), "7,25");
    // A not-a-number compares unordered with the best: maximising takes it, minimising not.
    list.Append(Make({}, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(OptimalSolutionText(list, true), "NAN");
    EXPECT_EQ(OptimalSolutionText(list, false), "5");
}

TEST(ResultLabels, SevenSignificantDigitsAndEmptyWithoutSolutions) {
    SolutionList list = ListOf({Make({}, 1234.5678f)});
    EXPECT_EQ(InitialSolutionText(list), "1234,568");
    EXPECT_EQ(InitialSolutionText(SolutionList()), "");
    EXPECT_EQ(OptimalSolutionText(SolutionList(), true), "");
}

}  // namespace
}  // namespace quarmel
