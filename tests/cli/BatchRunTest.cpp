// One run under the batch's run control, and the ordered hand-back of runs made on threads.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/runs/BatchRun.h"
#include "app/runs/OrderedRuns.h"
#include "cli/BatchOptions.h"
#include "cli/BatchRunner.h"

using namespace quarmel;

namespace {

// x^2 + y^2 over [-10, 10]^2 (or x^100 over [2, 10]), start settings with both delays 0.
void Problem2(AlgParameters& p, bool power = false) {
    StartSettings(p);
    p.ClearVariables();
    if (power) {
        p.AddVariable("x", 2, 10, 5);
        p.SetFunctionText("x^100");
    } else {
        p.AddVariable("x", -10, 10, 0);
        p.AddVariable("y", -10, 10, 0);
        p.SetFunctionText("x^2+y^2");
    }
}

}  // namespace

TEST(BatchRunOnce, ABudgetEndsARunThatWouldNeverEnd) {
    // x^100 over [2, 10]: every value is infinite, nothing is ever accepted and the run never
    // ends, whether the cooling stands still (Alfa 1) or the temperature stays 0.
    for (bool cold : {false, true}) {
        AlgParameters p;
        Problem2(p, true);
        if (cold) {
            p.Temp0 = 0;
            p.TempPlus = 0;
        } else {
            p.Alfa = 1.0f;
        }
        RunLimits limits;
        limits.MaxEvaluations = 20000;
        const RunOutcome r = RunOnce(SimulatedAnnealing, p, 3, limits);
        EXPECT_EQ(r.Ended, RunEnd::StoppedByBudget);
        // Checked before every sweep of the neighbourhood: 2 moves for 1 variable.
        EXPECT_GE(r.Evaluations, 20000u);
        EXPECT_LE(r.Evaluations, 20002u);
    }
    AlgParameters p;
    Problem2(p, true);
    p.Alfa = 1.0f;
    RunLimits limits;
    limits.MaxSeconds = 0.05;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunOnce(SimulatedAnnealing, p, 3, limits).Ended, RunEnd::StoppedByBudget);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(BatchRunOnce, RunsWithinTheirBudgetFinish) {
    for (AlgorithmKind kind : {Greedy, Steepest, SimulatedAnnealing, Genetic}) {
        AlgParameters p;
        Problem2(p);
        p.PopSize = 20;
        p.Iterations = 10;
        RunLimits limits;
        limits.MaxEvaluations = kDefaultMaxEvaluations;
        const RunOutcome r = RunOnce(kind, p, 11, limits);
        EXPECT_EQ(r.Ended, RunEnd::Finished) << kind;
        EXPECT_GT(r.Evaluations, 0u);
        EXPECT_GT(r.Steps, 0u);
        EXPECT_TRUE(r.Solutions.Empty());  // not kept unless asked
    }
}

TEST(BatchRunOnce, TheTraceFollowsThePathAndTheTargetCount) {
    for (AlgorithmKind kind : {Greedy, Genetic}) {
        AlgParameters p;
        Problem2(p);
        p.PopSize = 20;
        p.Iterations = 30;
        RunLimits limits;
        limits.KeepPath = true;
        limits.KeepTrace = true;
        limits.Target = 1.0;
        const RunOutcome r = RunOnce(kind, p, 5, limits);
        const std::vector<TraceStep>& rows = r.Trace;
        ASSERT_EQ(rows.size(), r.Solutions.Count()) << kind;
        ASSERT_EQ(rows.size(), r.Steps);
        unsigned long long evaluations = 0;
        float best = 1e30f;
        std::optional<unsigned long long> reached;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const unsigned long long e = rows[i].Evaluations;
            EXPECT_GE(e, evaluations);
            EXPECT_LE(e, r.Evaluations);
            evaluations = e;
            EXPECT_EQ(rows[i].Value, r.Solutions.At(i).Value);
            best = std::min(best, rows[i].Value);
            EXPECT_EQ(rows[i].BestSoFar, best);
            if (!reached && best <= 1.0) reached = e;
        }
        EXPECT_EQ(rows.back().BestSoFar, *r.Best);
        EXPECT_EQ(r.EvaluationsToTarget, reached) << kind;
    }
}

TEST(BatchRunOnce, RunsOnOtherThreadsDrawTheirOwnNumbers) {
    auto run = [](std::uint32_t seed) {
        AlgParameters p;
        Problem2(p);
        p.PopSize = 30;
        p.Iterations = 40;
        RunLimits limits;
        limits.KeepTrace = true;
        std::vector<float> values;
        for (const TraceStep& t : RunOnce(Genetic, p, seed, limits).Trace) {
            values.push_back(t.Value);
        }
        return values;
    };
    const std::vector<float> alone7 = run(7), alone8 = run(8);
    ASSERT_NE(alone7, alone8);
    std::vector<float> together7, together8;
    std::thread a([&] { together7 = run(7); });
    std::thread b([&] { together8 = run(8); });
    a.join();
    b.join();
    EXPECT_EQ(together7, alone7);
    EXPECT_EQ(together8, alone8);
}

TEST(BatchOrderedRuns, ResultsComeBackInOrderWithABoundedWindow) {
    for (int jobs : {1, 3}) {
        const std::size_t window = 4;
        std::size_t made = 0, emitted = 0, mostOutstanding = 0;
        std::vector<int> order;
        RunOrdered<int, int>(
            40, jobs, window,
            [&](std::size_t i) {
                EXPECT_EQ(i, made);
                ++made;
                mostOutstanding = std::max(mostOutstanding, made - emitted);
                return static_cast<int>(i);
            },
            [&](int& task) {
                // Early tasks are slow, so later ones finish first.
                std::this_thread::sleep_for(std::chrono::milliseconds(task % 5 == 0 ? 5 : 0));
                return task * 10;
            },
            [&](int result) {
                order.push_back(result);
                ++emitted;
            });
        ASSERT_EQ(order.size(), 40u);
        for (int i = 0; i < 40; ++i) EXPECT_EQ(order[i], i * 10);
        EXPECT_LE(mostOutstanding, window);
    }
}

TEST(BatchBestRun, TheFirstOfEqualsStaysAndANumberBeatsNone) {
    const float nan = std::nanf("");
    struct Case {
        std::optional<float> kept;  // nullopt: no run kept yet
        bool keptHasValue;
        std::optional<float> run;
        bool maximize;
        bool replaces;
    };
    const Case cases[] = {
        {std::nullopt, false, std::nullopt, false, true},  // the first run, even without a path
        {5.0f, true, 4.0f, false, true},
        {5.0f, true, 6.0f, false, false},
        {5.0f, true, 6.0f, true, true},
        {5.0f, true, 5.0f, false, false},
        {5.0f, true, 5.0f, true, false},
        {5.0f, true, nan, false, false},
        {nan, true, 5.0f, true, true},
        {nan, true, nan, true, false},
        {0.0f, false, 1.0f, false, true},  // a kept run without a path
        {5.0f, true, std::nullopt, true, false},
    };
    for (const Case& c : cases) {
        std::optional<RunOutcome> kept;
        if (c.kept) {
            kept.emplace();
            if (c.keptHasValue) kept->Best = c.kept;
        }
        RunOutcome run;
        run.Best = c.run;
        EXPECT_EQ(ReplacesBest(run, kept, c.maximize), c.replaces)
            << (c.kept ? *c.kept : -1) << " " << (c.run ? *c.run : -1) << " " << c.maximize;
    }
}

TEST(BatchPlanRuns, SeedsStartAgainWithEachSeriesAndFollowOnModulo2To32) {
    BatchPlan plan;
    plan.Series.resize(2);
    plan.Runs = 3;
    plan.FirstSeed = 4294967294u;
    ASSERT_EQ(plan.RunCount(), 6u);
    const std::uint32_t seeds[] = {4294967294u, 4294967295u, 0, 4294967294u, 4294967295u, 0};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(plan.SeedOf(i), seeds[i]) << i;
        EXPECT_EQ(plan.SeriesOf(i), i / 3) << i;
    }
}
