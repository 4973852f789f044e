// Evaluations per second of the three local searches with no delay, against a bare loop of Eval
// calls on the same formula: the difference is what the search machinery costs (neighbour
// moves, comparisons, the pause gate and publishing under a lock).
#include <benchmark/benchmark.h>

#include <time.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "algorithms/Annealing.h"
#include "algorithms/Greedy.h"
#include "algorithms/LocalSearch.h"
#include "algorithms/RunControl.h"
#include "algorithms/Steepest.h"
#include "bench/StartUpProblem.h"
#include "model/Algparameters.h"

using namespace quarmel;

namespace {

AlgParameters SumOfSquares19() {
    AlgParameters p;
    std::string f;
    for (int i = 0; i < 19; ++i) {
        const std::string name = "v" + std::to_string(i);
        p.AddVariable(name, -10, 10, 0);
        f += (i ? "+" : "") + name + "^2";
    }
    p.SetFunctionText(f);
    p.LocalSleep = 0;
    return p;
}

// Costs what the worker's control costs when nobody pauses: a lock per publish and an atomic
// read per gate. Ends a run once it has used its budget of evaluations.
class BenchControl : public RunControl {
  public:
    BenchControl(const AlgParameters& params, unsigned long long budget, std::uint32_t seed)
        : params_(params), budget_(params.Evaluations() + budget), seed_(seed) {
        WatchHoldRequests(paused_);
    }
    void Publish(ListChangeRef change) override {
        std::lock_guard<std::mutex> lock(mutex_);
        change();
    }
    void Sleep(int) override {}
    bool StopRequested() const override {
        return stop_.load(std::memory_order_acquire) || params_.Evaluations() >= budget_;
    }
    void HoldAtGate() override { stop_.store(true); }
    std::uint32_t Seed() const override { return seed_; }

  private:
    const AlgParameters& params_;
    unsigned long long budget_;
    std::uint32_t seed_;
    std::mutex mutex_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> paused_{false};
};

using Search = void (*)(AlgParameters&, SolutionList&, RunControl&);

void RunSearch(benchmark::State& state, AlgParameters (*make)(), Search search,
               unsigned long long budget) {
    AlgParameters p = make();
    std::uint32_t seed = 1;
    for (auto _ : state) {
        SolutionList list;
        BenchControl control(p, budget, seed++);
        search(p, list, control);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(p.Evaluations()));
}

void BareEval(benchmark::State& state, AlgParameters (*make)()) {
    AlgParameters p = make();
    p.Compile();
    std::vector<double> v(p.VariableCount());
    for (int i = 0; i < p.VariableCount(); ++i) v[i] = p.VariableMin(i) + 0.37 * (i + 1);
    for (auto _ : state) {
        v[0] += 1e-9;
        benchmark::DoNotOptimize(p.Eval(v.data()));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(p.Evaluations()));
}

constexpr unsigned long long kBudget3 = 20000;
constexpr unsigned long long kBudget19 = 1 << 20;

}  // namespace

BENCHMARK_CAPTURE(BareEval, Default3, StartUpProblem);
BENCHMARK_CAPTURE(RunSearch, Greedy3, StartUpProblem, RunGreedy, kBudget3);
BENCHMARK_CAPTURE(RunSearch, Steepest3, StartUpProblem, RunSteepest, kBudget3);
BENCHMARK_CAPTURE(RunSearch, Annealing3, StartUpProblem, RunAnnealing, kBudget3);

BENCHMARK_CAPTURE(BareEval, Squares19, SumOfSquares19);
BENCHMARK_CAPTURE(RunSearch, Greedy19, SumOfSquares19, RunGreedy, kBudget19)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunSearch, Steepest19, SumOfSquares19, RunSteepest, kBudget19)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunSearch, Annealing19, SumOfSquares19, RunAnnealing, kBudget19)
    ->Unit(benchmark::kMillisecond);

// The parts of one candidate's cost besides the evaluation: the 19 grid draws, and the whole
// neighbour move (draws included).
static void BM_GridDraws19(benchmark::State& state) {
    std::vector<GridSpec> grids(19, PrepareGrid(1.0f));
    std::vector<float> out(19);
    SeedRandom(1);
    for (auto _ : state) {
        GridDrawEach(grids.data(), grids.size(), out.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_GridDraws19);

static void BM_NeighbourMove19(benchmark::State& state) {
    AlgParameters p = SumOfSquares19();
    Neighbourhood neighbourhood(p);
    std::vector<float> current(19, 0.5f);
    std::vector<double> candidate(19);
    SeedRandom(1);
    std::uint64_t mask = 0;
    for (auto _ : state) {
        neighbourhood.Make(current, mask++ & 0x7FFFF, candidate);
        benchmark::DoNotOptimize(candidate.data());
    }
}
BENCHMARK(BM_NeighbourMove19);

// Per-candidate cost of each search with its set-up separated, against the floor in the same
// iterations: the work the rules require per candidate, written out lean here (one generator
// step, the remainder and the scaled step per variable, the move, the evaluation; for annealing
// also the acceptance draw and exp). A search ends when it finds no better neighbour; it is then
// started again with the next seed until the budget of evaluations is used, and the set-up of as
// many runs (a run allowed no evaluation past its start point) is taken off. The floor publishes
// as many steps, each under a lock (the window copies the list while the run writes it) into a
// fresh list of a run's average length: one long list instead would make its cost depend on what
// earlier benchmarks left in the heap.
namespace {

double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The floor's own steps: the grid of one variable and its scaled points, made as the rule says.
struct FloorGrid {
    std::uint32_t m = 0, inverse = 0;
    const float* points = nullptr;  // point k after the scalings
};

class Floor {
  public:
    explicit Floor(AlgParameters& p) : p_(p), n_(p.VariableCount()), point_(n_) {
        p_.Compile();
        for (int i = 0; i < n_; ++i) {
            const VariableSpec& v = p.Variable(i);
            lo_.push_back(v.Min);
            hi_.push_back(v.Max);
            cur_.push_back(v.Min + (v.Max - v.Min) * 0.37f);
            const GridSpec prepared = PrepareGrid((v.Max - v.Min) * p.A);
            points_.emplace_back();
            for (std::uint32_t k = 0; k < prepared.m; ++k) {
                float r = static_cast<float>(k);
                for (int e = 0; e < prepared.e; ++e)
                    r = static_cast<float>(static_cast<double>(r) * 0.1);
                points_.back().push_back(r);
            }
            grids_.push_back({prepared.m, prepared.inverse, points_.back().data()});
        }
    }

    // count candidates, with a published step after every `every` of them, into a list that
    // lives for `perList` steps as a run's list does; with annealing also the acceptance draw and
    // exp for each.
    double Run(unsigned long long count, unsigned long long every, unsigned long long perList,
               bool annealing) {
        std::uint32_t s = 12345;
        double sum = 0;
        std::uint64_t mask = 0;
        const float c = 1.0f;
        SolutionList published;
        unsigned long long sinceStep = 0, kept = 0;
        for (unsigned long long k = 0; k < count; ++k, ++mask) {
            for (int i = 0; i < n_; ++i) {
                const FloorGrid& g = grids_[i];
                s = s * 22695477u + 1u;
                const std::uint32_t x = (s >> 16) & 0x7FFF;
                const auto rem =
                    static_cast<std::uint32_t>((std::uint64_t{g.inverse * x} * g.m) >> 32);
                // Without branches, as the mask bits and range checks vary at random: the
                // downward step is the step with its sign bit set.
                std::uint32_t bits;
                std::memcpy(&bits, &g.points[rem], sizeof bits);
                bits ^= static_cast<std::uint32_t>(~(mask >> (i & 63)) & 1u) << 31;
                float o;
                std::memcpy(&o, &bits, sizeof o);
                const float h = cur_[i] + o;
                const bool outside = (h > hi_[i]) | (h < lo_[i]);
                point_[i] = outside ? cur_[i] : h;
            }
            const float v = static_cast<float>(p_.Eval(point_.data()));
            if (++sinceStep == every) {
                sinceStep = 0;
                Solution step;
                step.Values.assign(point_.begin(), point_.end());
                step.Value = v;
                {
                    std::lock_guard<std::mutex> lock(publishing_);
                    published.Append(std::move(step));
                }
                if (++kept == perList) {
                    kept = 0;
                    sum += static_cast<double>(published.Count());
                    published = SolutionList();
                }
            }
            if (annealing) {
                s = s * 22695477u + 1u;
                const double q = static_cast<int>((s >> 16) & 0x7FFF) % 100 * 0.01;
                const double e = std::exp(static_cast<double>(c - v) / 100.0 * 10000);
                sum += e > q ? 1.0 : 0.0;
            }
            sum += v;
        }
        return sum + static_cast<double>(published.Count());
    }

  private:
    AlgParameters& p_;
    int n_;
    std::vector<double> point_;
    std::vector<float> lo_, hi_, cur_;
    std::vector<FloorGrid> grids_;
    std::vector<std::vector<float>> points_;
    std::mutex publishing_;
};

void PerCandidate(benchmark::State& state, AlgParameters (*make)(), Search search, float a,
                  unsigned long long budget, bool annealing) {
    AlgParameters base = make();
    base.A = a;
    double searchTime = 0, floorTime = 0;
    unsigned long long candidates = 0;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        AlgParameters p = base;
        double setup = 0, run = 0;
        unsigned long long evaluations = 0, steps = 0, runs = 0;
        while (evaluations < budget) {
            SolutionList list;
            const double t0 = CpuNow();
            {
                BenchControl idle(p, 0, seed);
                search(p, list, idle);
            }
            const double t1 = CpuNow();
            const unsigned long long before = p.Evaluations();
            SolutionList runList;
            const double t2 = CpuNow();
            {
                BenchControl control(p, budget - evaluations + 1, seed++);
                search(p, runList, control);
            }
            const double t3 = CpuNow();
            const unsigned long long made = p.Evaluations() - before - 1;  // start is set-up
            if (made == 0) break;
            evaluations += made;
            steps += runList.Count() - 1;
            ++runs;
            setup += t1 - t0;
            run += t3 - t2;
        }
        AlgParameters fp = base;
        Floor floor(fp);
        const double t4 = CpuNow();
        benchmark::DoNotOptimize(floor.Run(evaluations, steps ? evaluations / steps : 0,
                                           runs ? (steps + runs - 1) / runs : 0, annealing));
        const double t5 = CpuNow();
        searchTime += run - setup;
        floorTime += t5 - t4;
        candidates += evaluations;
        state.SetIterationTime(run - setup);
    }
    state.counters["ns_per_candidate"] = searchTime / candidates * 1e9;
    state.counters["floor_ns"] = floorTime / candidates * 1e9;
    state.counters["ratio"] = searchTime / floorTime;
}

}  // namespace

BENCHMARK_CAPTURE(PerCandidate, Greedy3, StartUpProblem, RunGreedy, 0.001f, 200000, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Steepest3, StartUpProblem, RunSteepest, 0.001f, 200000, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Annealing3, StartUpProblem, RunAnnealing, 0.1f, 200000, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Greedy19, SumOfSquares19, RunGreedy, 0.001f, 1 << 19, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Steepest19, SumOfSquares19, RunSteepest, 0.001f, 1 << 19, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Annealing19, SumOfSquares19, RunAnnealing, 0.1f, 1 << 19, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
