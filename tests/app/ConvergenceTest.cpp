#include "app/plot/Convergence.h"
#include "app/plot/PlotScale.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <chrono>
#include <cmath>
#include <thread>
#include <tuple>
#include <utility>

#include "algorithms/Optimizationthread.h"
#include "app/runs/BatchRun.h"
#include "app/runs/RunRecords.h"
#include "app/tables/CsvTables.h"
#include "app/tables/RunTables.h"
#include "app/text/TableText.h"
#include "support/SolutionSupport.h"

using namespace quarmel;
using quarmel::testing::ListOf;
using quarmel::testing::Make;

namespace {

using Points = std::vector<std::pair<double, double>>;
using Counts = std::vector<unsigned long long>;

// A curve of the values, published after 1, 2, 3... evaluations unless counts are given.
ConvergenceCurve Curve(const std::vector<float>& values, bool maximize = false,
                       Counts counts = {}) {
    ConvergenceCurve curve(maximize);
    SolutionList list;
    for (float v : values) list.Append(Make({}, v));
    for (std::size_t i = counts.size(); i < values.size(); ++i) counts.push_back(i + 1);
    curve.Update(list, counts);
    return curve;
}

Points Pairs(const std::vector<PlotPoint>& points) {
    Points pairs;
    for (const PlotPoint& p : points) pairs.emplace_back(p.X, p.Y);
    return pairs;
}

PlotAxes Axes(PlotX x, PlotY y, bool log, std::optional<double> best = std::nullopt) {
    PlotAxes axes;
    axes.X = x;
    axes.Y = y;
    axes.LogY = log;
    axes.BestKnown = best;
    return axes;
}

}  // namespace

TEST(ConvergenceCurve, TakesInOnlyWhatIsNewAndKeepsTheBestSoFar) {
    const float nan = std::nanf("");
    ConvergenceCurve curve(false);  // minimising
    SolutionList list = ListOf({Make({}, nan), Make({}, 5), Make({}, 7)});
    EXPECT_EQ(curve.Update(list, {1, 4, 7}), 3u);
    EXPECT_EQ(curve.Update(list, {}), 0u);
    list.Append(Make({}, 2));
    list.Append(Make({}, 3));
    // A solution whose evaluations are not known yet waits for them.
    EXPECT_EQ(curve.Update(list, {9}), 1u);
    EXPECT_EQ(curve.Update(list, {12, 15}), 1u);
    ASSERT_EQ(curve.Count(), 5u);
    EXPECT_EQ(curve.Evaluations(), (Counts{1, 4, 7, 9, 12}));
    EXPECT_TRUE(std::isnan(curve.BestSoFar()[0]));
    // Any number improves on a value that is not one; later only better values count.
    EXPECT_EQ(curve.BestSoFar()[1], 5.0f);
    EXPECT_EQ(curve.BestSoFar()[2], 5.0f);
    EXPECT_EQ(curve.BestSoFar()[3], 2.0f);
    EXPECT_EQ(curve.BestSoFar()[4], 2.0f);
    EXPECT_EQ(curve.Values()[2], 7.0f);

    EXPECT_EQ(Curve({1, 4, 3}, true).BestSoFar().back(), 4.0f);
}

TEST(ConvergenceCurve, PopulationMeansOncePerGenerationWithoutUndefinedValues) {
    ConvergenceCurve curve(true);
    const SolutionList population = ListOf({Make({}, 1), Make({}, std::nanf("")), Make({}, 4)});
    EXPECT_FALSE(curve.AddPopulationMean(population));  // no generation yet
    curve.Update(ListOf({Make({}, 4)}), {20});
    EXPECT_TRUE(curve.AddPopulationMean(population));
    EXPECT_FALSE(curve.AddPopulationMean(population));  // the same generation again
    curve.Update(ListOf({Make({}, 4), Make({}, 6), Make({}, 6)}), {40, 60});
    EXPECT_TRUE(curve.AddPopulationMean(ListOf({Make({}, 6)})));
    ASSERT_EQ(curve.Means().size(), 2u);
    EXPECT_EQ(curve.Means()[0].Generation, 0u);
    EXPECT_DOUBLE_EQ(curve.Means()[0].Mean, 2.5);
    EXPECT_EQ(curve.Means()[1].Generation, 2u);
}

namespace {

// The cells of one CSV line (its line break dropped), quotes undone.
std::vector<std::string> CsvCellsOf(const std::string& line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            cells.emplace_back();
        } else if (c != '\n') {
            cells.back() += c;
        }
    }
    return cells;
}

}  // namespace

TEST(RunRecords, LabelsRowsAndDurations) {
    EXPECT_EQ(RunLabel(3, Genetic, "PopSize=50", 7), "#3 genetic PopSize=50 seed 7");
    EXPECT_EQ(RunLabel(4, Greedy, "", 12), "#4 greedy seed 12");

    AlgParameters p;
    p.SetMaximize(true);
    p.PopSize = 50;
    p.LocalSleep = 0;  // a delay is not a setting that differs
    RunRecord r = RecordRun(Genetic, p, "bowl, round", "bowl.txt", 7,
                            ListOf({Make({1}, 2), Make({1}, 9.5f), Make({1}, 3)}), 120, 1.25, true);
    r.Undefined = 4;
    r.Known = ExampleProblem{};
    r.Known->Optimum.Value = 10;
    // The experiment's runs table: the identity, a value under every setting's column, then the
    // results with the gap to the known optimum and the undefined count.
    const std::vector<std::string> header = CsvCellsOf(RunsTableHeader(false)),
                                   row = CsvCellsOf(
                                       RunsCsv({r}).substr(RunsTableHeader(false).size()));
    ASSERT_EQ(row.size(), header.size());
    const std::vector<std::string> identity(row.begin(), row.begin() + 5),
        results(row.end() - 8, row.end());
    EXPECT_EQ(identity,
              (std::vector<std::string>{"bowl.txt", "bowl, round", "max", "0", "genetic"}));
    EXPECT_EQ(results,
              (std::vector<std::string>{"7", "9.5", "120", "3", "1.25", "cancelled", "0.5", "4"}));
    for (const auto& [name, value] :
         {std::pair{"PopSize", "50"}, {"A", "0.05"}, {"MutA", "0.01"}}) {
        const auto at = std::find(header.begin(), header.end(), name) - header.begin();
        EXPECT_EQ(row[at], value) << name;
    }
    EXPECT_EQ(RunCells(r)[3], "9,5");  // the window's decimal comma, as its other values
    EXPECT_EQ(RunCells(r)[6], "1,250");
    const RunRecord none = RecordRun(Greedy, p, "", "", 1, SolutionList(), 0, 0, false);
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

// Rows in a box from 20 to 70 down; on the log scale the logarithms go from -2 to 2; values
// not above 0 on the log scale go on a symmetric one, here linear within 10: -90, 0, 990 are
// at -1, 0 and 2 (log10(1 + 990 / 10)).
TEST(PlotScale, MapsValuesToRowsAndLeavesOutWhatTheScaleCannotShow) {
    const float nan = std::nanf("");
    const std::pair<bool, std::vector<float>> cases[] = {
        {false, {1, 5, 3, nan}}, {true, {0.01f, 100, 1}}, {false, {4}}, {true, {-90, 0, 990}}};
    const std::vector<std::pair<double, std::optional<double>>> rows[] = {
        {{1, 70}, {5, 20}, {3, 45}, {-3, 120}, {nan, std::nullopt}},
        {{0.01, 70}, {1, 45}, {100, 20}},
        {{4, 45}},  // a single value sits in the middle
        {{-90, 70}, {0, 70 - 50 / 3.0}, {90, 70 - 100 / 3.0}, {990, 20}}};
    const char* captions[] = {"value", "value (log)", "value",
                              "value (symmetric log, linear within \u00b110)"};
    for (int i = 0; i < 4; ++i) {
        PlotScale scale(Axes(PlotX::Steps, PlotY::Value, cases[i].first), {10, 20, 100, 50});
        scale.Fit(Curve(cases[i].second));
        for (const auto& [value, row] : rows[i]) {
            // -1: left out (no row of the box).
            EXPECT_NEAR(scale.Y(value).value_or(-1), row.value_or(-1), 1e-6) << value;
        }
        EXPECT_EQ(scale.YCaption(), captions[i]);
        EXPECT_EQ(scale.Notes().size(), i == 0 ? 1u : 0u);  // the value that is not a number
    }
    const PlotBox box = CurveBox({5, 10, 520, 320}, 60, 15, 1, 3);  // 60 + 8 left
    EXPECT_EQ(Points({{box.Left, box.Top}, {box.Right(), box.Bottom()}}),
              Points({{73, 33}, {513, 277}}));
}

// Distances to a best known 2 (minimising): 3, 1, 1.5, 0. Their logarithms from 0 to log10(3),
// and a tenth of that below for the bottom edge, where distance 0 (and beyond) sits.
TEST(PlotScale, DistancesToTheBestKnownPutZeroOnTheBottomEdgeAndSaySo) {
    const ConvergenceCurve curve = Curve({5, 3, 3.5f, 2});
    PlotScale scale(Axes(PlotX::Steps, PlotY::Distance, true, 2), {10, 20, 90, 50});
    scale.Fit(curve);
    for (const auto& [value, row] :
         {std::pair<double, double>{5, 20}, {3, 70 - 50 / 11.0}, {2, 70}, {1.5, 70}}) {
        EXPECT_NEAR(*scale.Y(value), row, 1e-9) << value;
    }
    const std::optional<PlotPoint> mark = scale.FloorMark(curve);
    ASSERT_TRUE(mark);
    EXPECT_EQ(Pairs({*mark}), (Points{{100, 70}}));  // the best so far reaches it at step 3
    EXPECT_EQ(scale.YCaption(), "distance to best known 2 (log)");
    EXPECT_EQ(scale.Notes(),
              std::vector<std::string>{"1 value at distance 0, drawn on the bottom edge (\u25bc)"});

    // Maximising, from a known optimum, on the linear scale: distance 0 is an ordinary value.
    PlotAxes up = Axes(PlotX::Steps, PlotY::Distance, false, 10);
    up.Maximize = true;
    up.BestIsOptimum = true;
    PlotScale linear(up, {0, 0, 10, 40});
    linear.Fit(Curve({6, 10}, true));
    EXPECT_EQ(*linear.Y(8), 20);
    EXPECT_FALSE(linear.FloorMark(Curve({6, 10}, true)));
    EXPECT_EQ(linear.YCaption(), "distance to known optimum 10");
    EXPECT_TRUE(linear.Notes().empty());
}

// Published after 1, 10, 100 and 1000 evaluations, or at steps 0 to 3, in a box 100 wide.
TEST(PlotScale, XCountsEvaluationsOnALogOrLinearScaleOrSteps) {
    const ConvergenceCurve curve = Curve({4, 3, 2, 1}, false, {0, 10, 100, 1000});
    const std::pair<PlotX, std::vector<double>> cases[] = {
        {PlotX::LogEvaluations, {10, 10 + 100 / 3.0, 10 + 200 / 3.0, 110}},  // 0 sits with 1
        {PlotX::Evaluations, {10, 11, 20, 110}},
        {PlotX::Steps, {10, 10 + 100 / 3.0, 10 + 200 / 3.0, 110}}};
    for (const auto& [axis, columns] : cases) {
        PlotScale scale(Axes(axis, PlotY::Value, false), {10, 0, 100, 10});
        scale.Fit(curve);
        for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(scale.X(curve, i), columns[i], 1e-9);
    }
    PlotScale log(Axes(PlotX::LogEvaluations, PlotY::Value, false), {10, 0, 100, 10});
    log.Fit(curve);
    std::vector<std::string> labels;
    for (const AxisTick& tick : log.XTicks()) labels.push_back(tick.Label);
    EXPECT_EQ(labels, (std::vector<std::string>{"1", "10", "100", "1000"}));
    // Up to 3 365 410 evaluations: the powers of ten, all in one style.
    log.Fit(Curve({4, 3}, false, {1, 3365410}));
    labels.clear();
    for (const AxisTick& tick : log.XTicks()) labels.push_back(tick.Label);
    EXPECT_EQ(labels, (std::vector<std::string>{"1E0", "1E1", "1E2", "1E3", "1E4", "1E5", "1E6"}));
    EXPECT_EQ(log.XCaption(), "evaluations (log)");
}

TEST(PlotView, ZoomsToAPartOrAboutAPointWithinTheWhole) {
    const PlotView part = PlotView().Part(0.75, 0.25, 1, 0.5);
    EXPECT_EQ(Points({{part.Left, part.Right}, {part.Bottom, part.Top}}),
              Points({{0.25, 0.75}, {0.5, 1}}));
    // Out by 2 about the middle: -0.5 to 1.5 of the part, cut at the whole's edges.
    const PlotView out = part.Zoomed(0.5, 0.5, 2);
    EXPECT_EQ(Points({{out.Left, out.Right}, {out.Bottom, out.Top}}), Points({{0, 1}, {0.25, 1}}));
    for (const PlotView& same : {part.Part(0.5, 0.5, 0, 1), part.Part(std::nan(""), 1, 0, 1)}) {
        EXPECT_EQ(same.Left, part.Left);  // too thin to see, or not a part at all
    }

    // The upper right quarter of values 0 to 8 (steps 0 to 4) fills a box 4 by 8.
    PlotScale scale(Axes(PlotX::Steps, PlotY::Value, false), {0, 0, 4, 8}, {0.5, 1, 0.5, 1});
    const ConvergenceCurve curve = Curve({0, 2, 4, 6, 8});
    scale.Fit(curve);
    EXPECT_EQ(Pairs({{scale.X(curve, 3), *scale.Y(6)}}), (Points{{2, 4}}));
    // Columns left of the view are drawn on the edge, two pixels out.
    EXPECT_EQ(Pairs(scale.Thinned(curve, false)).front(), std::make_pair(-2.0, 16.0));
    EXPECT_EQ(scale.ValueTicks().front().Label, "4");
}

TEST(PlotScale, FitsTheLongestCurveAndThePopulationMeans) {
    PlotScale scale(Axes(PlotX::Steps, PlotY::Value, false), {0, 0, 4, 8});  // row = 8 - value
    ConvergenceCurve genetic(true);
    genetic.Update(ListOf({Make({}, 3)}), {10});
    genetic.AddPopulationMean(ListOf({Make({}, 1), Make({}, 3)}));
    genetic.Update(ListOf({Make({}, 3), Make({}, 4), Make({}, 5)}), {20, 30});
    genetic.AddPopulationMean(ListOf({Make({}, 8)}));  // the highest value is a mean
    scale.Fit(genetic);
    scale.Fit(Curve({0, 1, 1, 1, 1}));  // X = step
    EXPECT_EQ(Pairs(scale.MeanLine(genetic)), (Points{{0, 6}, {2, 0}}));
}

TEST(PlotScale, ThinsACurveToTheLowestAndHighestValueOfEachColumn) {
    // Steps 0..6 fall in the columns 0, 1, 1, 2, 2, 3, 3 (halves round up); column 2 has no value.
    PlotScale scale(Axes(PlotX::Steps, PlotY::Value, false), {0, 0, 3, 3});
    const ConvergenceCurve curve = Curve({1, 4, 2, std::nanf(""), std::nanf(""), 3, 3});
    scale.Fit(curve);  // row = 4 - value
    EXPECT_EQ(Pairs(scale.Thinned(curve, false)),
              (Points{{0, 3}, {0, 3}, {1, 2}, {1, 0}, {3, 1}, {3, 1}}));
}

TEST(PlotScale, RoundTicksLabelledWithTheValuesNotTheirLogarithms) {
    const std::tuple<bool, std::vector<float>, std::vector<std::string>> cases[] = {
        {false, {8, 0}, {"0", "2", "4", "6", "8"}},
        {true, {100, 0.01f}, {"0,01", "0,1", "1", "10", "100"}},
        {false, {13.2f, 0.1643f}, {"2", "4", "6", "8", "10", "12"}}};  // round, not fifths
    for (const auto& [log, values, labels] : cases) {
        PlotScale scale(Axes(PlotX::Steps, PlotY::Value, log), {0, 0, 10, 80});
        scale.Fit(Curve(values));
        std::vector<std::string> shown;
        for (const AxisTick& tick : scale.ValueTicks()) shown.push_back(tick.Label);
        EXPECT_EQ(shown, labels);
    }
}

TEST(PlotScale, BestSoFarIsDrawnAsStepsAndALonePointAsOne) {
    // Steps 0..4 in columns 0..4; rows 8 - value. The best so far: 8, 8, 4, 4, 0.
    PlotScale scale(Axes(PlotX::Steps, PlotY::Value, false), {0, 0, 4, 8});
    const ConvergenceCurve curve = Curve({8, 8, 4, 8, 0});
    scale.Fit(curve);
    EXPECT_EQ(
        Pairs(scale.BestSteps(curve)),
        (Points{{0, 0}, {0, 0}, {1, 0}, {1, 0}, {2, 0}, {2, 4}, {3, 4}, {3, 4}, {4, 4}, {4, 8}}));
    PlotScale one(Axes(PlotX::Steps, PlotY::Value, false), {0, 0, 4, 8});
    one.Fit(Curve({5}));
    EXPECT_EQ(Pairs(one.BestSteps(Curve({5}))), (Points{{0, 4}, {0, 4}}));
}

// The window's worker counts the evaluations of each published solution as the batch runner's
// trace does, from the same seed.
TEST(WorkerEvaluations, MatchTheBatchRunnersTrace) {
    AlgParameters p;
    p.LocalSleep = p.GeneticSleep = 0;
    p.PopSize = 20;
    p.Iterations = 15;
    p.AddVariable("x", -10, 10, 3);
    p.SetFunctionText("x^2");
    for (AlgorithmKind kind : {Greedy, Steepest, SimulatedAnnealing, Genetic}) {
        const auto worker = OptimizationThread::Start(p, kind, {5, {}});
        for (int i = 0; i < 20000 && !worker->IsFinished(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(worker->IsFinished()) << kind;
        AlgParameters copy = p;
        RunLimits limits;
        limits.KeepTrace = true;
        Counts expected;
        for (const TraceStep& t : RunOnce(kind, copy, 5, limits).Trace) {
            expected.push_back(t.Evaluations);
        }
        ASSERT_GT(expected.size(), 1u) << kind;
        EXPECT_EQ(worker->SnapshotEvaluationsFrom(0), expected) << kind;
        EXPECT_EQ(worker->SnapshotEvaluationsFrom(expected.size() - 1), Counts{expected.back()});
    }
}
