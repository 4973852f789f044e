#include <benchmark/benchmark.h>

#include <time.h>

#include <string>
#include <vector>

#include "algorithms/GeneticOperators.h"
#include "algorithms/Globalsearch.h"
#include "algorithms/RunControl.h"
#include "model/Algparameters.h"

using namespace quarmel;

// A whole genetic run without delay, timed against a bare loop of as many evaluations as the run
// made, on the same problem and in the same process. The ratio counter is what the run's own
// work (draws, list copies, publishing) adds on top of the evaluations it cannot avoid.
// Arguments: formula (0 the start-up one, 1 ten variables), population, iterations, selection.

namespace {

void SetUp(AlgParameters& p, int formula) {
    if (formula == 0) {
        p.AddVariable("x", -50, 50, 0);
        p.AddVariable("y", -40, 40, 6);
        p.AddVariable("c", 1, 15, 5);
        p.SetFunctionText("x^2+(y-2)^2+3*c");
    } else {
        for (int j = 0; j < 10; ++j) p.AddVariable("x" + std::to_string(j), -10, 10, 0);
        p.SetFunctionText("x0^2+(x1-2)^2+3*x2+x3*x4-x5/(1+x6^2)+abs(x7)+x8*x9");
    }
}

// CPU time of this thread: the machine is shared, and the ratio must not count time spent
// waiting for a core.
double Now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_GeneticRun(benchmark::State& state) {
    AlgParameters base;
    SetUp(base, static_cast<int>(state.range(0)));
    base.PopSize = static_cast<int>(state.range(1));
    base.Iterations = static_cast<int>(state.range(2));
    base.SelectionType = static_cast<int>(state.range(3));
    base.GeneticSleep = 0;

    // The points the bare loop evaluates: an initial population, widened once.
    AlgParameters sample = base;
    const SolutionList points = CreatePopulation(sample, base.PopSize, 1);
    const std::size_t d = points.VariableCount();
    std::vector<double> widened;
    for (const Solution& s : points)
        widened.insert(widened.end(), s.Values.begin(), s.Values.end());

    double runTime = 0, bareTime = 0;
    unsigned long long evaluations = 0;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        AlgParameters p = base;
        GeneticProgress progress;
        SyncRunControl control(seed++);
        const auto t0 = Now();
        RunGenetic(progress, p, control);
        const auto t1 = Now();
        const unsigned long long n = p.Evaluations() - base.Evaluations();

        double sum = 0;
        std::size_t k = 0;
        const auto t2 = Now();
        for (unsigned long long i = 0; i < n; ++i) {
            sum += sample.Eval(widened.data() + k * d);
            if (++k == points.Count()) k = 0;
        }
        const auto t3 = Now();
        benchmark::DoNotOptimize(sum);

        runTime += (t1 - t0);
        bareTime += (t3 - t2);
        evaluations += n;
        state.SetIterationTime((t1 - t0));
    }
    state.counters["evals"] =
        benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kAvgIterations);
    state.counters["bare_ms"] =
        benchmark::Counter(bareTime * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = runTime / bareTime;
}

// One step of a generation on 1000 Solutions of the start-up problem, with the start values:
// 0 tournament, 1 roulette, 2 arithmetic crossover, 3 mutation, 4 the copy a publish makes.
// Shows where a generation's time goes besides the evaluations.
void BM_GeneticStep(benchmark::State& state) {
    AlgParameters p;
    SetUp(p, 0);
    const SolutionList initial = CreatePopulation(p, 1000, 1);
    const unsigned long long before = p.Evaluations();
    SolutionList published = initial;
    for (auto _ : state) {
        SolutionList input = initial;
        SolutionList output;
        const double t0 = Now();
        switch (state.range(0)) {
            case 0:
                output = TournamentSelection(std::move(input), p.TournamentSize, false);
                break;
            case 1:
                output = RouletteSelection(std::move(input), false);
                break;
            case 2:
                output = ArithmeticCrossover(std::move(input), p);
                break;
            case 3:
                output = Mutate(std::move(input), p);
                break;
            default:
                published = input;
                break;
        }
        const double t1 = Now();
        benchmark::DoNotOptimize(output.Count());
        state.SetIterationTime(t1 - t0);
    }
    state.counters["evals"] = benchmark::Counter(static_cast<double>(p.Evaluations() - before),
                                                 benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK(BM_GeneticStep)
    ->ArgName("step")
    ->DenseRange(0, 4)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_GeneticRun)
    ->ArgNames({"formula", "pop", "iter", "sel"})
    ->Args({0, 500, 200, 0})
    ->Args({0, 1000, 1000, 0})
    ->Args({1, 500, 200, 0})
    ->Args({1, 1000, 1000, 0})
    ->Args({0, 1000, 1000, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
