// An experiment of the four algorithms over 30 seeds each on the start-up problem at the start
// settings, through the engine the batch runner and the window share, made with 1 and with 2
// threads in the same iteration. Counters: each one's wall seconds and the speed-up, 1 thread's
// time over 2 threads'. On a machine that other work keeps busy the measured speed-up says little,
// so `bound` is the one the runs' own processor seconds allow on 2 idle cores: their sum over the
// time two workers take to make them in order, each run going to the first free one. The
// iteration fails when 1 and 2 threads give different results.
// Argument: the evaluation budget of a run (0: none, each run ends of itself, as at the start
// settings: a few processor seconds for the two experiments).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/experiment/ExperimentRuns.h"
#include "bench/StartUpProblem.h"

using namespace quarmel;

namespace {

std::vector<ExperimentRun> FourByThirty(const AlgParameters& p, unsigned long long budget) {
    std::vector<ExperimentRun> runs;
    for (AlgorithmKind kind : {Greedy, Steepest, SimulatedAnnealing, Genetic}) {
        for (std::uint32_t seed = 1; seed <= 30; ++seed) {
            ExperimentRun run;
            run.Algorithm = kind;
            run.Params = &p;
            run.Seed = seed;
            run.Limits.MaxEvaluations = budget;
            run.Limits.KeepTrace = true;  // as the window's plots need
            runs.push_back(run);
        }
    }
    return runs;
}

// The wall seconds of the experiment on `jobs` threads; what each run found, in order, and its
// processor seconds.
double Timed(const std::vector<ExperimentRun>& runs, int jobs, std::vector<std::string>& found,
             std::vector<double>& seconds) {
    ExperimentControl control;
    found.clear();
    seconds.clear();
    const auto start = std::chrono::steady_clock::now();
    RunExperiment(runs, jobs, control, [&](std::size_t, RunOutcome r) {
        found.push_back(std::to_string(r.Evaluations) + " " + std::to_string(r.Steps) + " " +
                        (r.Best ? std::to_string(*r.Best) : std::string("none")));
        seconds.push_back(r.Seconds);
    });
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double TwoWorkerBound(const std::vector<double>& seconds) {
    double free[2] = {0, 0}, sum = 0;
    for (double s : seconds) {
        double& first = free[0] <= free[1] ? free[0] : free[1];
        first += s;
        sum += s;
    }
    const double span = std::max(free[0], free[1]);
    return span > 0 ? sum / span : 0;
}

void BM_ExperimentOneAndTwoThreads(benchmark::State& state) {
    const AlgParameters p = StartUpProblem();
    const std::vector<ExperimentRun> runs =
        FourByThirty(p, static_cast<unsigned long long>(state.range(0)));
    double one = 0, two = 0;
    std::vector<std::string> alone, pair;
    std::vector<double> seconds, paired;
    for (auto _ : state) {
        one += Timed(runs, 1, alone, seconds);
        two += Timed(runs, 2, pair, paired);
        if (alone != pair) state.SkipWithError("1 and 2 threads gave different results");
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["seconds_1"] = one / n;
    state.counters["seconds_2"] = two / n;
    state.counters["speedup"] = two > 0 ? one / two : 0;
    state.counters["bound"] = TwoWorkerBound(seconds);
    // The runs' processor seconds: equal on 1 and 2 threads when the threads do not hinder each
    // other (shared locks, memory), whatever else the machine runs.
    auto sum = [](const std::vector<double>& v) {
        double total = 0;
        for (double s : v) total += s;
        return total;
    };
    state.counters["cpu_1"] = sum(seconds);
    state.counters["cpu_2"] = sum(paired);
}

}  // namespace

BENCHMARK(BM_ExperimentOneAndTwoThreads)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
