// The experiment's figures against hand-worked cases.
#include "app/stats/ExperimentStats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace quarmel {
namespace {

const double kInf = std::numeric_limits<double>::infinity();

RunOutcome Final(std::optional<float> best, unsigned long long evaluations = 0,
                 std::optional<unsigned long long> toTarget = std::nullopt, double seconds = 0) {
    RunOutcome r;
    r.Best = best;
    r.Evaluations = evaluations;
    r.EvaluationsToTarget = toTarget;
    r.Seconds = seconds;
    return r;
}

TEST(ExperimentStats, QuantilesInterpolateBetweenOrderStatistics) {
    const std::vector<double> four = {1, 2, 3, 4};
    const double p[] = {0, 0.25, 0.5, 0.75, 1}, expected[] = {1, 1.75, 2.5, 3.25, 4};
    for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(Quantile(four, p[i]), expected[i]) << p[i];
    EXPECT_EQ(Quantile({7}, 0.25), 7);
    EXPECT_TRUE(std::isnan(Quantile({}, 0.5)));

    using Grid = std::vector<unsigned long long>;
    EXPECT_EQ(LogGrid(100, 2), (Grid{1, 3, 10, 32, 100}));
    EXPECT_EQ(LogGrid(5, 10), (Grid{1, 2, 3, 4, 5}));  // repeats after rounding dropped
    EXPECT_EQ(LogGrid(1, 4), (Grid{1}));
    EXPECT_TRUE(LogGrid(0, 4).empty());
}

TEST(ExperimentStats, TheBandStartsWhenEveryRunHasAValueAndEndedRunsKeepTheirLast) {
    auto run = [](std::vector<TraceStep> trace) {
        RunOutcome r;
        r.Trace = std::move(trace);
        return r;
    };
    const std::vector<RunOutcome> runs = {
        run({{2, 10, 10}, {5, 8, 8}, {9, 9, 8}}),  // ends at 9 evaluations with 8
        run({{3, 6, 6}, {20, 1, 1}}),
        run({{1, 7, 7}, {4, 12, 7}, {30, 2, 2}}),
    };
    const std::vector<BandPoint> band = BestSoFarBand(runs, {1, 2, 3, 5, 10, 30, 100}, false);
    struct Point {
        unsigned long long e;
        double q1, median, q3;
    };
    const Point expected[] = {
        {3, 6.5, 7, 8.5}, {5, 6.5, 7, 7.5}, {10, 6.5, 7, 7.5}, {30, 1.5, 2, 5}, {100, 1.5, 2, 5}};
    ASSERT_EQ(band.size(), std::size(expected));
    for (std::size_t i = 0; i < band.size(); ++i) {
        EXPECT_EQ(band[i].Evaluations, expected[i].e);
        EXPECT_DOUBLE_EQ(band[i].Q1, expected[i].q1) << expected[i].e;
        EXPECT_DOUBLE_EQ(band[i].Median, expected[i].median) << expected[i].e;
        EXPECT_DOUBLE_EQ(band[i].Q3, expected[i].q3) << expected[i].e;
    }
}

TEST(ExperimentStats, TheTargetDistributionRisesAtEachRunThatReachedIt) {
    const std::vector<RunOutcome> runs = {Final(1, 90, 10), Final(1, 90, 30), Final(1, 90),
                                          Final(1, 90, 10), Final(1, 90, 50)};
    const std::vector<EcdfStep> steps = TargetEcdf(runs);
    const EcdfStep expected[] = {{10, 0.4}, {30, 0.6}, {50, 0.8}};
    ASSERT_EQ(steps.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(steps[i].Evaluations, expected[i].Evaluations);
        EXPECT_DOUBLE_EQ(steps[i].Share, expected[i].Share);
    }
    EXPECT_TRUE(TargetEcdf({Final(1, 90)}).empty());
}

TEST(ExperimentStats, TheBoxCountsNotANumberAsTheWorst) {
    std::vector<RunOutcome> runs;
    for (float b : {5.0f, 1.0f, 4.0f, 2.0f, 3.0f}) runs.push_back(Final(b));
    runs.push_back(Final(std::nullopt));  // a run without a step is left out
    const BoxFigures box = *FinalBox(runs, false);
    EXPECT_EQ(std::vector<double>({box.Min, box.Q1, box.Median, box.Q3, box.Max}),
              std::vector<double>({1, 2, 3, 4, 5}));

    const std::vector<RunOutcome> nan = {Final(std::nanf("")), Final(1), Final(2), Final(3)};
    const BoxFigures low = *FinalBox(nan, false), high = *FinalBox(nan, true);
    EXPECT_EQ(std::vector<double>({low.Min, low.Q1, low.Median, low.Max}),
              std::vector<double>({1, 1.75, 2.5, kInf}));
    EXPECT_EQ(std::vector<double>({high.Min, high.Median, high.Q3, high.Max}),
              std::vector<double>({-kInf, 1.5, 2.25, 3}));
    EXPECT_FALSE(FinalBox({Final(std::nullopt)}, false));
}

TEST(ExperimentStats, TheRowHasTheBatchSummarysExpectedRunningTime) {
    const std::vector<RunOutcome> runs = {Final(2, 100, 40, 0.5), Final(4, 60, {}, 0.25),
                                          Final(6, 200, 100, 0.25), Final(8, 40)};
    const ExperimentRow row = SummarizeAlgorithm(runs, false);
    EXPECT_EQ(row.Runs, 4u);
    EXPECT_DOUBLE_EQ(row.ReachedShare, 0.5);
    // Up to the target for the two that reached it, all evaluations of the two that did not.
    EXPECT_DOUBLE_EQ(*row.ExpectedRunningTime, (40 + 60 + 100 + 40) / 2.0);
    EXPECT_DOUBLE_EQ(*row.Median, 5);
    EXPECT_DOUBLE_EQ(*row.Mean, 5);
    EXPECT_DOUBLE_EQ(*row.Deviation, std::sqrt(20.0 / 3));
    EXPECT_DOUBLE_EQ(row.MeanEvaluations, 100);
    EXPECT_DOUBLE_EQ(row.Seconds, 1.0);
    EXPECT_FALSE(SummarizeAlgorithm({Final(1, 50)}, false).ExpectedRunningTime);
}

}  // namespace
}  // namespace quarmel
