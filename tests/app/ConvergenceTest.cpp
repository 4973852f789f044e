#include "app/Convergence.h"
#include "app/PlotScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "app/CsvTables.h"
#include "app/RunRecords.h"
#include "app/TableText.h"
#include "support/SolutionSupport.h"

using namespace quarmel;
using quarmel::testing::ListOf;
using quarmel::testing::Make;

namespace {

using Points = std::vector<std::pair<double, double>>;

ConvergenceCurve Curve(const std::vector<float>& values) {
    ConvergenceCurve curve;
    SolutionList list;
    for (float v : values) list.Append(Make({}, v));
    curve.Update(list);
    return curve;
}

Points Pairs(const std::vector<PlotPoint>& points) {
    Points pairs;
    for (const PlotPoint& p : points) pairs.emplace_back(p.X, p.Y);
    return pairs;
}

}  // namespace

TEST(ConvergenceCurve, TakesInOnlyWhatIsNewAndKeepsTheBestSoFar) {
    const float nan = std::nanf("");
    ConvergenceCurve curve(false);  // minimising
    SolutionList list = ListOf({Make({}, nan), Make({}, 5), Make({}, 7)});
    EXPECT_EQ(curve.Update(list), 3u);
    EXPECT_EQ(curve.Update(list), 0u);
    list.Append(Make({}, 2));
    list.Append(Make({}, 3));
    EXPECT_EQ(curve.Update(list), 2u);
    ASSERT_EQ(curve.Count(), 5u);
    EXPECT_TRUE(std::isnan(curve.BestSoFar()[0]));
    // Any number improves on a value that is not one; later only better values count.
    EXPECT_EQ(curve.BestSoFar()[1], 5.0f);
    EXPECT_EQ(curve.BestSoFar()[2], 5.0f);
    EXPECT_EQ(curve.BestSoFar()[3], 2.0f);
    EXPECT_EQ(curve.BestSoFar()[4], 2.0f);
    EXPECT_EQ(curve.Values()[2], 7.0f);

    ConvergenceCurve up(true);
    up.Update(ListOf({Make({}, 1), Make({}, 4), Make({}, 3)}));
    EXPECT_EQ(up.BestSoFar().back(), 4.0f);
}

TEST(ConvergenceCurve, PopulationMeansOncePerGenerationWithoutUndefinedValues) {
    ConvergenceCurve curve(true);
    const SolutionList population = ListOf({Make({}, 1), Make({}, std::nanf("")), Make({}, 4)});
    EXPECT_FALSE(curve.AddPopulationMean(population));  // no generation yet
    curve.Update(ListOf({Make({}, 4)}));
    EXPECT_TRUE(curve.AddPopulationMean(population));
    EXPECT_FALSE(curve.AddPopulationMean(population));  // the same generation again
    curve.Update(ListOf({Make({}, 4), Make({}, 6), Make({}, 6)}));
    EXPECT_TRUE(curve.AddPopulationMean(ListOf({Make({}, 6)})));
    ASSERT_EQ(curve.Means().size(), 2u);
    EXPECT_EQ(curve.Means()[0].Generation, 0u);
    EXPECT_DOUBLE_EQ(curve.Means()[0].Mean, 2.5);
    EXPECT_EQ(curve.Means()[1].Generation, 2u);
}

TEST(RunRecords, LabelsRowsAndDurations) {
    EXPECT_EQ(RunLabel(Genetic, "PopSize=50", 7), "genetic PopSize=50 seed 7");
    EXPECT_EQ(RunLabel(Greedy, "", 12), "greedy seed 12");

    AlgParameters p;
    p.SetMaximize(true);
    p.PopSize = 50;
    p.LocalSleep = 0;  // a delay is not a setting that differs
    const RunRecord r =
        RecordRun(Genetic, p, "bowl, round", 7,
                  ListOf({Make({1}, 2), Make({1}, 9.5f), Make({1}, 3)}), 120, 1.25, true);
    // The batch runner's runs table, with every setting's value; the window has no file name.
    EXPECT_EQ(RunsCsv({r}), RunRowHeader(false) +
                                ",\"bowl, round\",max,0,genetic,0.05,100,15,95,8,0.96,0.6,50,200,"
                                "5,30,0.6,40,0.01,0,2,7,9.5,120,3,1.25,stopped\n");
    EXPECT_EQ(RunCells(r)[6], "1.250");
    const RunRecord none = RecordRun(Greedy, p, "", 1, SolutionList(), 0, 0, false);
    EXPECT_EQ(RunCells(none)[3], "none");
    EXPECT_EQ(RunCells(none)[1], "start settings");  // PopSize is not greedy's

    EXPECT_EQ(ElapsedText(7.9), "0:07");
    EXPECT_EQ(ElapsedText(754), "12:34");
    EXPECT_EQ(ElapsedText(3723), "1:02:03");
}

TEST(TableText, TheSelectionsRectangleTabSeparated) {
    EXPECT_EQ(TabSeparated({}), "");
    // Given out of order, with a hole at (3, 2).
    EXPECT_EQ(TabSeparated({{3, 1, "c"}, {2, 1, "a"}, {2, 2, "b"}}), "a\tb\nc\t\n");
}

// Rows in a box from 20 to 70 down; on the log scale the logarithms go from -2 to 2.
TEST(PlotScale, MapsValuesToRowsAndLeavesOutWhatTheScaleCannotShow) {
    const float nan = std::nanf("");
    const std::pair<bool, std::vector<float>> cases[] = {
        {false, {1, 5, 3, nan}}, {true, {0.01f, -1, 100, 0}}, {false, {4}}};
    const std::vector<std::pair<double, std::optional<double>>> rows[] = {
        {{1, 70}, {5, 20}, {3, 45}, {-3, 120}, {nan, std::nullopt}},
        {{0.01, 70}, {1, 45}, {100, 20}, {0, std::nullopt}},
        {{4, 45}}};  // a single value sits in the middle
    for (int i = 0; i < 3; ++i) {
        PlotScale scale(cases[i].first, {10, 20, 100, 50});
        scale.Fit(Curve(cases[i].second));
        for (const auto& [value, row] : rows[i]) {
            // -1: left out (no row of the box).
            EXPECT_NEAR(scale.Y(value).value_or(-1), row.value_or(-1), 1e-6) << value;
        }
    }
    const PlotBox box = CurveBox({5, 10, 520, 320}, 60, 15);  // 60 + 8 left, 2 * 15 + 8 below
    EXPECT_EQ(Points({{box.Left, box.Top}, {box.Right(), box.Bottom()}}),
              Points({{73, 18}, {513, 292}}));
}

TEST(PlotScale, FitsTheLongestCurveAndThePopulationMeans) {
    PlotScale scale(false, {0, 0, 4, 8});  // row = 8 - value
    ConvergenceCurve genetic(true);
    genetic.Update(ListOf({Make({}, 3)}));
    genetic.AddPopulationMean(ListOf({Make({}, 1), Make({}, 3)}));
    genetic.Update(ListOf({Make({}, 3), Make({}, 4), Make({}, 5)}));
    genetic.AddPopulationMean(ListOf({Make({}, 8)}));  // the highest value is a mean
    scale.Fit(genetic);
    scale.Fit(Curve({0, 1, 1, 1, 1}));
    EXPECT_EQ(scale.LastStep(), 4);  // X = step
    EXPECT_EQ(Pairs(scale.MeanLine(genetic.Means())), (Points{{0, 6}, {2, 0}}));
}

TEST(PlotScale, ThinsACurveToTheLowestAndHighestValueOfEachColumn) {
    // Steps 0..6 fall in the columns 0, 1, 1, 2, 2, 3, 3 (halves round up); column 2 has no value.
    PlotScale scale(false, {0, 0, 3, 3});
    const std::vector<float> values = {1, 4, 2, std::nanf(""), std::nanf(""), 3, 3};
    scale.Fit(Curve(values));  // row = 4 - value
    EXPECT_EQ(Pairs(scale.Thinned(values)),
              (Points{{0, 3}, {0, 3}, {1, 2}, {1, 0}, {3, 1}, {3, 1}}));
}

TEST(PlotScale, FiveEvenTicksLabelledWithTheValuesNotTheirLogarithms) {
    const std::pair<bool, std::vector<std::string>> cases[] = {
        {false, {"0", "2", "4", "6", "8"}}, {true, {"0,01", "0,1", "1", "10", "100"}}};
    for (const auto& [log, labels] : cases) {
        PlotScale scale(log, {0, 0, 10, 80});
        scale.Fit(log ? Curve({100, 0.01f, -1}) : Curve({8, 0}));
        std::vector<std::string> shown;
        for (const ValueTick& tick : scale.Ticks()) {
            EXPECT_DOUBLE_EQ(tick.Y, 80 - 20.0 * shown.size());
            shown.push_back(tick.Label);
        }
        EXPECT_EQ(shown, labels);
    }
    PlotScale none(true, {0, 0, 10, 80});
    none.Fit(Curve({-1, 0}));
    EXPECT_TRUE(none.Ticks().empty());
}
