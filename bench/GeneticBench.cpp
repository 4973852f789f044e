#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "algorithms/GeneticOperators.h"
#include "algorithms/Globalsearch.h"
#include "algorithms/IndexDraw.h"
#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Improvement.h"
#include "model/Random.h"
#include "tests/support/ValueOperators.h"

using namespace quarmel;

// A whole genetic run without delay, timed against a bare loop of as many evaluations as the run
// made, on the same problem and in the same process. The ratio counter is what the run's own
// work (draws, list copies, publishing) adds on top of the evaluations it cannot avoid. The run
// is also timed against its floor (FloorRun), which must give the same history.
// Arguments: formula (0 the start-up one, 1 ten variables), population, iterations, selection,
// crossover.

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

// The roulette wheel's slot for each of the hundred draws k * 0.01, from the first n values:
// shares against the worst value (0.1 each without spread), summed up, and the first slot that
// reaches the draw (the last one past the wheel's end).
std::array<std::uint32_t, 100> WheelSlots(const std::vector<float>& f, std::size_t n, bool maximize,
                                          std::vector<float>& wheel) {
    float worst = f[0];
    for (std::size_t i = 0; i < n; ++i) {
        if (maximize ? !(f[i] >= worst) : f[i] > worst) worst = f[i];
    }
    wheel.resize(n);
    float total = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        wheel[i] = maximize ? f[i] - worst : worst - f[i];
        total += wheel[i];
    }
    const bool flat = total == 0.0f || std::isnan(total);
    for (std::size_t i = 0; i < n; ++i) {
        const float share = flat ? 0.1f : wheel[i] / total;
        wheel[i] = i == 0 ? share : wheel[i - 1] + share;
    }
    std::array<std::uint32_t, 100> slot{};
    // The draws rise, so no share passed over for one draw can reach a later one: the walk goes
    // on from the previous slot.
    std::size_t i = 0;
    for (int k = 0; k < 100; ++k) {
        const float r = static_cast<float>(k * 0.01);
        while (i < n && !(wheel[i] >= r)) ++i;
        slot[k] = static_cast<std::uint32_t>(i == n ? n - 1 : i);
    }
    return slot;
}

// A member's values, by a plain loop as the run copies them (a few values each, where the
// library's general copy costs several times more).
void CopyValues(const float* from, float* to, std::size_t d) {
    for (std::size_t j = 0; j < d; ++j) to[j] = from[j];
}

// The floor: a run reduced to what the rules require, on flat arrays. The same draws in the same
// order, made the way the run makes them, and the same evaluations. As in the run, each operator
// (selection, crossover, mutation) writes every member into the other array, which then takes
// the population's place: the run publishes an operator's result by swapping its two lists, and
// copies every member in the mutation too, since the population it reads is the published one
// (and may be read by another thread). After each generation the best Solution so far, values
// and value, is appended to the history as the run publishes it; the history must equal the
// real run's bit for bit. Not in the floor: per-operator set-up (the evaluation buffer, the
// mutation ranges), the shared lists' bookkeeping, the RunControl calls.
SolutionList FloorRun(AlgParameters& p, std::uint32_t seed) {
    SeedRandom(seed);
    SolutionList history;
    if (p.Compile() != -1) return history;
    const std::vector<VariableSpec>& vars = p.Variables();
    const std::size_t d = vars.size();
    std::size_t n = static_cast<std::size_t>(p.PopSize);
    const bool maximize = p.Maximize();
    std::vector<float> values(n * d), next(n * d), f(n), nextF(n);
    std::vector<double> x(d);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < d; ++j) {
            double v = static_cast<double>(GridDraw(vars[j].Max - vars[j].Min)) + vars[j].Min;
            if (v > vars[j].Max) v = vars[j].Max;
            values[i * d + j] = static_cast<float>(v);
            x[j] = v;
        }
        f[i] = static_cast<float>(p.Eval(x.data()));
    }
    auto eval = [&](const float* v) {
        for (std::size_t j = 0; j < d; ++j) x[j] = v[j];
        return static_cast<float>(p.Eval(x.data()));
    };
    auto bestOf = [&] {
        std::size_t b = 0;
        for (std::size_t i = 1; i < n; ++i)
            if (Improves(f[b], f[i], maximize)) b = i;
        return b;
    };
    const std::size_t first = bestOf();
    Solution best;
    best.Values.assign(&values[first * d], &values[first * d] + d);
    best.Value = f[first];
    std::vector<GridTable> grids(d);
    std::vector<char> movable(d);
    std::vector<float> steps(d);
    for (std::size_t j = 0; j < d; ++j) {
        steps[j] = (vars[j].Max - vars[j].Min) * p.MutA;
        movable[j] = vars[j].Max > vars[j].Min && steps[j] > 0.0f;
        if (movable[j]) grids[j] = PrepareGrid(2.0f * steps[j]);
    }
    const float mutation = std::trunc(p.MProbab);
    const float ratio = p.COA, rest = 1.0f - p.COA;
    std::vector<float> wheel;
    for (int g = 0; g < p.Iterations; ++g) {
        if (p.SelectionType == 1) {
            const std::array<std::uint32_t, 100> slot = WheelSlots(f, n, maximize, wheel);
            for (std::size_t t = 0; t < n; ++t) {
                const std::size_t w = slot[RandomBelow(100)];
                CopyValues(&values[w * d], &next[t * d], d);
                nextF[t] = f[w];
            }
        } else {
            const IndexDraw entrant(n);
            for (std::size_t t = 0; t < n; ++t) {
                std::size_t w = entrant();
                for (long long k = 0; k <= p.TournamentSize; ++k) {
                    const std::size_t c = entrant();
                    if (Improves(f[w], f[c], maximize)) w = c;
                }
                CopyValues(&values[w * d], &next[t * d], d);
                nextF[t] = f[w];
            }
        }
        std::swap(values, next);
        std::swap(f, nextF);
        if (d >= 2) {
            std::size_t out = 0, first = 0;
            unsigned long long taking = 0;
            for (std::size_t i = 0; i < n; ++i) {
                const int q = Rand() % 100;
                if (static_cast<float>(q) >= p.COProbab || i == n - 1) {
                    CopyValues(&values[i * d], &next[out * d], d);
                    nextF[out++] = f[i];
                    continue;
                }
                if (++taking % 2 == 1) {
                    first = i;
                    continue;
                }
                float* a = &next[out * d];
                float* b = &next[(out + 1) * d];
                CopyValues(&values[first * d], a, d);
                CopyValues(&values[i * d], b, d);
                if (p.CrossoverType == 2) {
                    for (std::size_t j = 0; j < d; ++j) {
                        const float u = a[j], v = b[j];
                        a[j] = ratio * u + rest * v;
                        b[j] = ratio * v + rest * u;
                    }
                } else {
                    std::size_t c1 = 1, c2 = d;
                    if (p.CrossoverType == 0) {
                        if (d > 2) c1 = 1 + static_cast<std::size_t>(Rand()) % (d - 1);
                    } else {
                        c2 = 2;
                        if (d > 2) {
                            c1 = 1 + static_cast<std::size_t>(Rand()) % (d - 1);
                            c2 = c1 + static_cast<std::size_t>(Rand()) % (d - c1);
                        }
                    }
                    for (std::size_t j = c1; j < c2 && j < d; ++j) std::swap(a[j], b[j]);
                }
                nextF[out++] = eval(a);
                nextF[out++] = eval(b);
            }
            n = out;
            std::swap(values, next);
            std::swap(f, nextF);
        }
        const IndexDraw position(d);
        for (std::size_t i = 0; i < n; ++i) {
            CopyValues(&values[i * d], &next[i * d], d);
            nextF[i] = f[i];
            const int q = Rand() % 100;
            if (!(static_cast<float>(q) < mutation)) continue;
            const std::size_t j = position();
            float& y = next[i * d + j];
            if (movable[j]) {
                float s;
                GridDrawEach(&grids[j], 1, &s);
                const float a = steps[j], lo = vars[j].Min, hi = vars[j].Max;
                float z = s >= a ? y + s * 0.5f : y - s;
                if (z > hi) z = hi - (z - hi);
                if (!(z >= lo)) z = lo + (lo - z);
                if (z > hi) z = hi;
                y = z;
            }
            nextF[i] = eval(&next[i * d]);
        }
        std::swap(values, next);
        std::swap(f, nextF);
        const std::size_t b = bestOf();
        if (Improves(best.Value, f[b], maximize)) {
            std::copy_n(&values[b * d], d, best.Values.begin());
            best.Value = f[b];
        }
        history.Append(best);
    }
    return history;
}

// The same bits: a not-a-number best is equal to itself here.
bool SameBits(float a, float b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

void BM_GeneticRun(benchmark::State& state) {
    AlgParameters base;
    SetUp(base, static_cast<int>(state.range(0)));
    base.PopSize = static_cast<int>(state.range(1));
    base.Iterations = static_cast<int>(state.range(2));
    base.SelectionType = static_cast<int>(state.range(3));
    base.CrossoverType = static_cast<int>(state.range(4));
    base.GeneticSleep = 0;

    // The points the bare loop evaluates: an initial population, widened once.
    AlgParameters sample = base;
    const SolutionList points = CreatePopulation(sample, base.PopSize, 1);
    const std::size_t d = points.VariableCount();
    std::vector<double> widened;
    for (const SolutionView s : points)
        widened.insert(widened.end(), s.Values.begin(), s.Values.end());

    double runTime = 0, bareTime = 0, floorTime = 0;
    const bool withFloor = base.SelectionType == 0 || base.SelectionType == 1;
    unsigned long long evaluations = 0;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        AlgParameters p = base;
        GeneticProgress progress;
        SyncRunControl control(seed++);
        const auto t0 = Now();
        const SolutionList history = RunGenetic(progress, p, control);
        const auto t1 = Now();
        const unsigned long long n = p.Evaluations() - base.Evaluations();

        if (withFloor) {
            AlgParameters q = base;
            const auto f0 = Now();
            const SolutionList bests = FloorRun(q, seed - 1);
            floorTime += Now() - f0;
            bool same =
                bests.Count() == history.Count() && q.Evaluations() - base.Evaluations() == n;
            for (std::size_t g = 0; same && g < bests.Count(); ++g) {
                same = SameBits(bests.FuncValue(g), history.FuncValue(g)) &&
                       bests.At(g).Values == history.At(g).Values;
            }
            if (!same) {
                state.SkipWithError("the floor does not make the run's draws and evaluations");
                break;
            }
        }

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
    if (withFloor) state.counters["floor_ratio"] = runTime / floorTime;
}

// One step of a generation on 1000 Solutions of the start-up problem, with the start values:
// 0 tournament, 1 roulette, 2 arithmetic crossover, 3 mutation, 4 a whole copy of the list (what
// a reader of the published snapshot makes).
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
                output = testing::TournamentSelection(std::move(input), p.TournamentSize, false);
                break;
            case 1:
                output = testing::RouletteSelection(std::move(input), false);
                break;
            case 2:
                output = testing::ArithmeticCrossover(std::move(input), p);
                break;
            case 3:
                output = testing::Mutate(std::move(input), p);
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
    ->ArgNames({"formula", "pop", "iter", "sel", "co"})
    ->Args({0, 500, 200, 0, 2})
    ->Args({0, 1000, 1000, 0, 2})
    ->Args({1, 500, 200, 0, 2})
    ->Args({1, 1000, 1000, 0, 2})
    ->Args({1, 500, 200, 0, 0})
    ->Args({1, 500, 200, 0, 1})
    ->Args({0, 500, 200, 1, 2})
    ->Args({1, 500, 200, 1, 2})
    ->Args({0, 1000, 1000, 1, 2})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
