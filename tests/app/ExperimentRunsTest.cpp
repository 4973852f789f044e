// The experiment engine: the same results on any number of threads, and Cancel.
#include "app/ExperimentRuns.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace quarmel {
namespace {

// x^2 + y^2 over [-10, 10]^2 (or x^100 over [2, 10], where annealing never ends), no delays.
AlgParameters Problem(bool endless = false) {
    AlgParameters p;
    p.LocalSleep = 0;
    p.GeneticSleep = 0;
    p.PopSize = 20;
    p.Iterations = 15;
    if (endless) {
        p.AddVariable("x", 2, 10, 5);
        p.SetFunctionText("x^100");
        p.Alfa = 1.0f;
    } else {
        p.AddVariable("x", -10, 10, 3);
        p.AddVariable("y", -10, 10, -4);
        p.SetFunctionText("x^2+y^2");
    }
    return p;
}

std::vector<ExperimentRun> Runs(const AlgParameters& p, std::size_t seeds,
                                std::vector<AlgorithmKind> kinds) {
    std::vector<ExperimentRun> runs;
    for (AlgorithmKind kind : kinds) {
        for (std::uint32_t s = 1; s <= seeds; ++s) {
            ExperimentRun run;
            run.Algorithm = kind;
            run.Params = &p;
            run.Seed = s;
            run.Limits.MaxEvaluations = 30000;
            run.Limits.Target = 0.5;
            run.Limits.KeepTrace = true;
            runs.push_back(run);
        }
    }
    return runs;
}

TEST(ExperimentRuns, TheResultsAreTheSameForAnyNumberOfThreads) {
    const AlgParameters p = Problem();
    const std::vector<ExperimentRun> runs =
        Runs(p, 3, {Greedy, Steepest, SimulatedAnnealing, Genetic});
    auto experiment = [&](int jobs) {
        ExperimentControl control;
        std::vector<RunOutcome> out;
        EXPECT_EQ(RunExperiment(runs, jobs, control,
                                [&](std::size_t i, RunOutcome r) {
                                    EXPECT_EQ(i, out.size());
                                    out.push_back(std::move(r));
                                }),
                  runs.size());
        EXPECT_EQ(control.Done, runs.size());
        EXPECT_EQ(control.Total, runs.size());
        return out;
    };
    const std::vector<RunOutcome> one = experiment(1), three = experiment(3);
    ASSERT_EQ(one.size(), three.size());
    for (std::size_t i = 0; i < one.size(); ++i) {
        EXPECT_EQ(one[i].Seed, runs[i].Seed);
        EXPECT_EQ(one[i].Seed, three[i].Seed);
        EXPECT_EQ(one[i].Best, three[i].Best) << i;
        EXPECT_EQ(one[i].Evaluations, three[i].Evaluations) << i;
        EXPECT_EQ(one[i].Steps, three[i].Steps) << i;
        EXPECT_EQ(one[i].EvaluationsToTarget, three[i].EvaluationsToTarget) << i;
        EXPECT_EQ(one[i].Ended, three[i].Ended) << i;
        ASSERT_EQ(one[i].Trace.size(), three[i].Trace.size()) << i;
        for (std::size_t t = 0; t < one[i].Trace.size(); ++t) {
            EXPECT_EQ(one[i].Trace[t].Evaluations, three[i].Trace[t].Evaluations);
            EXPECT_EQ(one[i].Trace[t].BestSoFar, three[i].Trace[t].BestSoFar);
        }
    }
    // The seeds differ in what they give, so equal results are not a matter of course.
    EXPECT_NE(one[9].Trace.size() * 1000 + one[9].Evaluations,
              one[10].Trace.size() * 1000 + one[10].Evaluations);
}

TEST(ExperimentRuns, CancelHandsOnOnlyWholeRunsAndEndsRunsThatWouldNeverEnd) {
    // Between runs: cancelled after the first run is handed on.
    const AlgParameters p = Problem();
    const std::vector<ExperimentRun> runs = Runs(p, 12, {Genetic});
    ExperimentControl control;
    std::vector<std::size_t> handed;
    const std::size_t count = RunExperiment(runs, 1, control, [&](std::size_t i, RunOutcome r) {
        EXPECT_NE(r.Ended, RunEnd::Cancelled);
        handed.push_back(i);
        control.Cancel = true;
    });
    EXPECT_GE(count, 1u);
    EXPECT_LT(count, runs.size());
    EXPECT_EQ(handed.size(), count);
    for (std::size_t i = 0; i < handed.size(); ++i) EXPECT_EQ(handed[i], i);

    // Within a run: the run control's stop request sees the flag.
    const AlgParameters endless = Problem(true);
    std::vector<ExperimentRun> forever = Runs(endless, 4, {SimulatedAnnealing});
    for (ExperimentRun& r : forever) r.Limits.MaxEvaluations = 0;  // no limit
    ExperimentControl stop;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop.Cancel = true;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunExperiment(forever, 2, stop, [](std::size_t, RunOutcome) { FAIL(); }), 0u);
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace quarmel
