// The experiment engine: the same results on any number of threads, and Cancel.
#include "app/experiment/ExperimentRuns.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
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
    // Everything of a run but its processor seconds, run by run in the order handed on.
    auto experiment = [&](int jobs) {
        ExperimentControl control;
        std::vector<std::string> out;
        RunExperiment(runs, jobs, control, [&](std::size_t i, RunOutcome r) {
            std::string s = std::to_string(i) + " " + std::to_string(r.Seed) + " " +
                            std::to_string(r.Evaluations) + " " + std::to_string(r.Steps) + " " +
                            std::to_string(r.Best.value_or(-1)) + " " + RunEndName(r.Ended) + " " +
                            std::to_string(r.EvaluationsToTarget.value_or(0)) + ":";
            for (const TraceStep& t : r.Trace) {
                s += " " + std::to_string(t.Evaluations) + "=" + std::to_string(t.BestSoFar);
            }
            out.push_back(s);
        });
        EXPECT_EQ(control.Done, runs.size());
        EXPECT_EQ(control.Total, runs.size());
        return out;
    };
    const std::vector<std::string> one = experiment(1);
    ASSERT_EQ(one.size(), runs.size());
    EXPECT_EQ(experiment(3), one);
    // The seeds differ in what they give, so equal results are not a matter of course.
    EXPECT_NE(one[9].substr(one[9].find(':')), one[10].substr(one[10].find(':')));
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
