#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "algorithms/AlgorithmTable.h"
#include "algorithms/Optimizationthread.h"
#include "bench/StartUpProblem.h"

using namespace quarmel;

namespace {

using Clock = std::chrono::steady_clock;

// The window's chart timer: how often a race's lanes are polled for their lists. Their end is
// looked for every millisecond in between, so that the time measured is the run's rather than a
// multiple of the tick.
constexpr auto kTick = std::chrono::milliseconds(15);
constexpr auto kEndCheck = std::chrono::milliseconds(1);

// Runs the lanes at once, each on its own worker from the same seed, polling them at every tick
// as the window's race does (the new solutions, and the population of a lane that has one), until
// every lane has finished; returns the wall time in milliseconds.
double RaceMs(const AlgParameters& p, const std::vector<AlgorithmKind>& kinds, std::uint32_t seed) {
    const auto start = Clock::now();
    std::vector<std::shared_ptr<OptimizationThread>> workers;
    for (AlgorithmKind kind : kinds) {
        workers.push_back(
            OptimizationThread::Start(p, kind, OptimizationThread::Options{seed, {}}));
    }
    std::vector<SolutionList> shown(kinds.size());
    auto nextTick = start + kTick;
    for (;;) {
        const bool all = std::all_of(workers.begin(), workers.end(),
                                     [](const auto& w) { return w->IsFinished(); });
        const auto now = Clock::now();
        if (all) {
            for (auto& worker : workers) worker->Terminate();
            return std::chrono::duration<double, std::milli>(now - start).count();
        }
        if (now >= nextTick) {
            nextTick += kTick;
            for (std::size_t i = 0; i < workers.size(); ++i) {
                const SolutionList tail = workers[i]->SnapshotSolutionsFrom(shown[i].Count());
                for (std::size_t k = 0; k < tail.Count(); ++k) shown[i].Append(tail.At(k));
                if (AlgorithmOf(kinds[i]).Population) {
                    benchmark::DoNotOptimize(workers[i]->SnapshotPopulation());
                }
            }
        }
        std::this_thread::sleep_for(kEndCheck);
    }
}

// A race of the four on the start-up problem with no delays, against each of them run alone the
// same way next to it, so that both see the same load on the machine. A race on two cores
// should end within 1.1 x max(the longest lane alone, the sum of the lanes alone / 2): the
// `ratio` counter is the race's time over that bound without the 1.1. The time column is the
// race's.
void BM_RaceOfFour(benchmark::State& state) {
    const AlgParameters p = StartUpProblem();
    const std::vector<AlgorithmKind> four = {Greedy, Steepest, SimulatedAnnealing, Genetic};
    const std::uint32_t seed = 12345;
    double longest = 0, sum = 0, race = 0, ratio = 0;
    std::vector<double> alone(four.size(), 0.0);
    bool raceFirst = false;
    for (auto _ : state) {
        // The race before the lanes alone every other time, so that a load that comes or goes
        // weighs on both alike.
        raceFirst = !raceFirst;
        double r = raceFirst ? RaceMs(p, four, seed) : 0.0;
        double l = 0, s = 0;
        for (std::size_t i = 0; i < four.size(); ++i) {
            const double ms = RaceMs(p, {four[i]}, seed);
            alone[i] += ms;
            l = std::max(l, ms);
            s += ms;
        }
        if (!raceFirst) r = RaceMs(p, four, seed);
        state.SetIterationTime(r * 1e-3);
        longest += l;
        sum += s;
        race += r;
        ratio += r / std::max(l, s / 2);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["race_ms"] = race / n;
    state.counters["longest_ms"] = longest / n;
    state.counters["halfsum_ms"] = sum / 2 / n;
    state.counters["ratio"] = ratio / n;
    const char* names[] = {"greedy_ms", "steepest_ms", "annealing_ms", "genetic_ms"};
    for (std::size_t i = 0; i < four.size(); ++i) state.counters[names[i]] = alone[i] / n;
}

}  // namespace

BENCHMARK(BM_RaceOfFour)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ComputeStatistics("min",
                        [](const std::vector<double>& v) {
                            return *std::min_element(v.begin(), v.end());
                        })
    ->ReportAggregatesOnly(false);
