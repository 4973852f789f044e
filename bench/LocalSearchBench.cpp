// Evaluations per second of the three local searches with no delay, against a bare loop of Eval
// calls on the same formula: the difference is what the search machinery costs (neighbour
// moves, comparisons, the pause gate and publishing under a lock).
#include <benchmark/benchmark.h>

#include <atomic>
#include <mutex>
#include <string>

#include "algorithms/Annealing.h"
#include "algorithms/Greedy.h"
#include "algorithms/LocalSearch.h"
#include "algorithms/RunControl.h"
#include "algorithms/Steepest.h"
#include "model/Algparameters.h"

using namespace quarmel;

namespace {

// The function of the Function page at start-up.
AlgParameters DefaultFunction() {
    AlgParameters p;
    p.AddVariable("x", -50, 50, 0);
    p.AddVariable("y", -40, 40, 6);
    p.AddVariable("c", 1, 15, 5);
    p.SetFunctionText("x^2 + ( y - 2 ) ^ 2 + 3 * c ");
    p.LocalSleep = 0;
    return p;
}

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
        : params_(params), budget_(params.Evaluations() + budget), seed_(seed) {}
    void Publish(const std::function<void()>& change) override {
        std::lock_guard<std::mutex> lock(mutex_);
        change();
    }
    void Sleep(int) override {}
    bool StopRequested() const override {
        return stop_.load(std::memory_order_acquire) || params_.Evaluations() >= budget_;
    }
    void PassPauseGate() override {
        if (paused_.load(std::memory_order_acquire)) stop_.store(true);
    }
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

BENCHMARK_CAPTURE(BareEval, Default3, DefaultFunction);
BENCHMARK_CAPTURE(RunSearch, Greedy3, DefaultFunction, RunGreedy, kBudget3);
BENCHMARK_CAPTURE(RunSearch, Steepest3, DefaultFunction, RunSteepest, kBudget3);
BENCHMARK_CAPTURE(RunSearch, Annealing3, DefaultFunction, RunAnnealing, kBudget3);

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
