// Evaluations per second of the three local searches with no delay, against a bare loop of Eval
// calls on the same formula: the difference is what the search machinery costs (neighbour
// moves, comparisons, the pause gate and publishing under a lock).
#include <benchmark/benchmark.h>

#include <time.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "algorithms/Annealing.h"
#include "algorithms/Greedy.h"
#include "algorithms/LocalSearch.h"
#include "algorithms/Optimizationthread.h"
#include "algorithms/RunControl.h"
#include "algorithms/Steepest.h"
#include "bench/StartUpProblem.h"
#include "model/Algparameters.h"
#include "model/Improvement.h"
#include "model/Random.h"

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

// Candidates made while annealing heats and while it cools, told by the stages' beginnings.
struct Phases {
    unsigned long long heating = 0, cooling = 0;
};

// Costs what the worker's control costs when nobody pauses, less the counts it keeps for the
// window at each publish (the processor time among them, a system call): a lock per publish, an
// atomic read per gate and per sleep, and one indirect call per published step. Ends a run once it
// has used its budget of evaluations. With `phases` it adds each annealing stage's candidates to
// its phase (a few operations per stage).
class BenchControl final : public RunControl {
  public:
    BenchControl(const AlgParameters& params, unsigned long long budget, std::uint32_t seed,
                 Phases* phases = nullptr)
        : params_(params), budget_(params.Evaluations() + budget), seed_(seed), phases_(phases) {
        WatchHoldRequests(paused_);
    }
    void Publish(ListChangeRef change) override {
        std::lock_guard<std::mutex> lock(mutex_);
        change();
    }
    void Sleep(int ms) override {
        if (ms <= 0 && !paused_.load(std::memory_order_acquire)) return;
        HoldAtGate();
    }
    bool StopRequested() const override {
        return stop_.load(std::memory_order_acquire) || params_.Evaluations() >= budget_;
    }
    bool PublishStep(ListChangeRef change, int ms) override {
        Publish(change);
        Sleep(ms);
        return StopRequested();
    }
    void HoldAtGate() override { stop_.store(true); }
    std::uint32_t Seed() const override { return seed_; }
    void StageBegins(long long stage, double, bool heating) override {
        if (phases_ == nullptr) return;
        if (stage > 1) EndPhases();
        stageStart_ = params_.Evaluations();
        heating_ = heating;
        staged_ = true;
    }
    // Adds the last stage's candidates, if a stage began.
    void EndPhases() {
        if (!staged_) return;
        (heating_ ? phases_->heating : phases_->cooling) += params_.Evaluations() - stageStart_;
        staged_ = false;
    }

  private:
    const AlgParameters& params_;
    unsigned long long budget_;
    std::uint32_t seed_;
    std::mutex mutex_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> paused_{false};
    Phases* phases_;
    unsigned long long stageStart_ = 0;
    bool heating_ = true;
    bool staged_ = false;
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
    std::vector<GridTable> grids(19, PrepareGrid(1.0f));
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

// Per-candidate cost of each search with its set-up separated, against a floor: the same rules
// written out lean, on the same seeds and budgets. A search ends when
// it finds no better neighbour; it is then started again with the next seed until the budget of
// evaluations is used, and the set-up of as many runs (a run allowed no evaluation past its start
// point) is taken off.
//
// What the floor does per candidate, and why: the generator steps, remainders and scaled steps of
// the neighbour move in one register-held state (the work the rule asks for); the evaluation;
// the comparison with the current value; on acceptance a copy of the candidate into the current
// point, so each step depends on the last as in the run (a floor that never moves its point runs
// its candidates independently and reads cheaper than any search can be). It publishes exactly
// the steps the run publishes, each under a lock (the window copies the list while the run writes
// it), appended in place into a list of its own per run as the run appends them. It compares the
// evaluations made with its budget where the run reads its stop request (at the start of a pass,
// every 65536 masks, after a step), which the evaluation's own counter makes free: no count of
// its own per candidate. The annealing floor keeps the run's stages, draws the
// acceptance number for a worse candidate while heating and calls exp only there, with the run's
// temperatures and differences: exp on an argument of another kind (one that underflows, say)
// costs what the processor makes of it, not what the run pays. The floor is checked against the
// run's list and candidate count: same candidates, steps and values, or the benchmark fails. Not
// in the floor: the pause gate, the RunControl call of each step (publishing, the delay and the
// stop request in one) and the vector bookkeeping: that is what the ratio shows.
namespace {

double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

enum class Rules { Greedy, Steepest, Annealing };

class Floor {
  public:
    Floor(AlgParameters& p, Rules rules)
        : p_(p),
          rules_(rules),
          n_(p.VariableCount()),
          masks_(MaskCount(n_)),
          maximize_(p.Maximize()),
          point_(n_),
          best_(n_),
          cur_(n_) {
        p_.Compile();
        for (int i = 0; i < n_; ++i) {
            const VariableSpec& v = p.Variable(i);
            axes_.push_back({v.Min, v.Max, PrepareGrid((v.Max - v.Min) * p.A)});
        }
        const double l = std::trunc(std::pow(2.0, n_) * p.Lk);
        stageLength_ = l > 0.0 ? static_cast<std::int64_t>(l) : 0;
    }

    // One run from seed with a budget of evaluations counted from its start point, as the run's
    // control counts it; the CPU time after the start point. The published steps, start point
    // first, go to `published`.
    double Run(std::uint32_t seed, unsigned long long budget, SolutionList& published) {
        SeedRandom(seed);
        limit_ = p_.Evaluations() + budget;
        for (int i = 0; i < n_; ++i) {
            const VariableSpec& v = p_.Variable(i);
            const double u = static_cast<double>(static_cast<float>(v.Max - v.Min)) * 100.0;
            const float offset =
                u >= 1.0 ? static_cast<float>((Rand() % static_cast<int>(u)) * 0.01) : 0.0f;
            point_[i] = static_cast<double>(v.Min) + static_cast<double>(offset);
            cur_[i] = static_cast<float>(point_[i]);
        }
        c_ = static_cast<float>(p_.Eval(point_.data()));
        published.Append(cur_.begin(), cur_.end(), c_);
        s_ = TakeRandState();
        const double t0 = CpuNow();
        if (rules_ == Rules::Greedy) {
            while (GreedyPass(published)) {
            }
        } else if (rules_ == Rules::Steepest) {
            while (SteepestPass(published)) {
            }
        } else {
            Anneal(published);
        }
        return CpuNow() - t0;
    }

  private:
    struct Axis {
        float lo, hi;
        GridTable grid;
    };

    // Whether the budget is used, read where the run reads its stop request: at the start of
    // every pass over the masks and every 65536 masks within one, and after a published step.
    bool Spent() const { return p_.Evaluations() >= limit_; }
    bool SpentAt(std::uint64_t mask) const { return (mask & 0xFFFFu) == 0 && Spent(); }

    // The candidate for a mask into point_ and its value.
    float Candidate(std::uint64_t mask) {
        for (int i = 0; i < n_; ++i) {
            const Axis& a = axes_[i];
            s_ = s_ * 22695477u + 1u;
            const std::uint32_t x = (s_ >> 16) & 0x7FFF;
            const auto rem =
                static_cast<std::uint32_t>((std::uint64_t{a.grid.inverse * x} * a.grid.m) >> 32);
            // Without branches, as mask bits and range checks vary at random: the downward step
            // is the step with its sign bit set, and the kept value is chosen on the bits.
            std::uint32_t bits;
            std::memcpy(&bits, &a.grid.scaled[rem], sizeof bits);
            bits ^= static_cast<std::uint32_t>(~(mask >> i) & 1u) << 31;
            float o;
            std::memcpy(&o, &bits, sizeof o);
            const float h = cur_[i] + o;
            const std::uint32_t keep = 0u - static_cast<std::uint32_t>((h > a.hi) | (h < a.lo));
            std::uint32_t hb, cb;
            std::memcpy(&hb, &h, sizeof hb);
            std::memcpy(&cb, &cur_[i], sizeof cb);
            const std::uint32_t chosen = (hb & ~keep) | (cb & keep);
            float moved;
            std::memcpy(&moved, &chosen, sizeof moved);
            point_[i] = moved;
        }
        return static_cast<float>(p_.Eval(point_.data()));
    }

    void Accept(const std::vector<double>& from, float v) {
        c_ = v;
        for (int i = 0; i < n_; ++i) cur_[i] = static_cast<float>(from[i]);
    }

    // As the run publishes: the values narrowed into the list's block, under the lock; true
    // when the budget is used.
    bool Publish(const std::vector<double>& from, float v, SolutionList& published) {
        {
            std::lock_guard<std::mutex> lock(publishing_);
            published.Append(from.begin(), from.end(), v);
        }
        return Spent();
    }

    bool GreedyPass(SolutionList& published) {
        for (std::uint64_t mask = 0; mask < masks_; ++mask) {
            if (SpentAt(mask)) return false;
            const float v = Candidate(mask);
            if (Improves(c_, v, maximize_)) {
                if (Publish(point_, v, published)) return false;
                Accept(point_, v);
                return true;
            }
        }
        return false;
    }

    bool SteepestPass(SolutionList& published) {
        float b = c_;
        bool chosen = false;
        for (std::uint64_t mask = 0; mask < masks_; ++mask) {
            if (SpentAt(mask)) return false;
            const float v = Candidate(mask);
            if (Improves(b, v, maximize_)) {
                b = v;
                point_.swap(best_);
                chosen = true;
            }
        }
        if (!chosen || !Improves(c_, b, maximize_)) return false;
        if (Publish(best_, b, published)) return false;
        Accept(best_, b);
        return true;
    }

    void Anneal(SolutionList& published) {
        const std::vector<float> start = cur_;
        const float startValue = c_;
        double t = p_.Temp0;
        bool heating = true;
        std::int64_t flat = 1, tried = 0, accepted = 0;
        for (;;) {
            bool sawNumber = false;
            if (heating) flat = 1, tried = 0, accepted = 0;
            for (std::int64_t moves = 0; moves != stageLength_;) {
                for (std::uint64_t mask = 0; mask < masks_ && moves != stageLength_; ++mask) {
                    if (SpentAt(mask)) return;
                    const float v = Candidate(mask);
                    ++moves;
                    ++tried;
                    if (heating && !std::isnan(v)) sawNumber = true;
                    if (Improves(c_, v, maximize_)) {
                        if (heating) {
                            ++accepted;
                        } else if (Publish(point_, v, published)) {
                            return;
                        }
                        Accept(point_, v);
                    } else if (heating) {
                        s_ = s_ * 22695477u + 1u;
                        const double q = static_cast<int>((s_ >> 16) & 0x7FFF) % 100 * 0.01;
                        const double d =
                            maximize_ ? static_cast<double>(v - c_) : static_cast<double>(c_ - v);
                        if (t > 0.0 ? std::exp(d / t * 10000) > q : d == 0.0) {
                            Accept(point_, v);
                            ++accepted;
                        }
                    }
                    if (moves == stageLength_) break;
                    if (!heating) {
                        double diff = std::fabs(std::trunc(static_cast<double>(c_ - v)));
                        if (std::isnan(diff)) diff = 0.0;
                        flat = diff >= p_.Stop ? 1 : flat + 1;
                        if (flat >= stageLength_) return;
                    }
                }
            }
            if (heating) {
                if (!sawNumber) return;
                const double ratio = static_cast<double>(accepted) / tried * 100;
                if (ratio > p_.PercentAc || ratio >= 100.0) {
                    heating = false;
                    cur_ = start;
                    c_ = startValue;
                } else {
                    t = t + p_.TempPlus;
                }
            } else {
                t = p_.Alfa * t;
                if (t < 1.0) return;
            }
        }
    }

    AlgParameters& p_;
    Rules rules_;
    int n_;
    std::uint64_t masks_;
    bool maximize_;
    std::int64_t stageLength_ = 0;
    std::vector<Axis> axes_;
    std::vector<double> point_, best_;
    std::vector<float> cur_;
    float c_ = 0.0f;
    std::uint32_t s_ = 0;
    unsigned long long limit_ = 0;
    std::mutex publishing_;
};

bool SameSteps(const SolutionList& a, const SolutionList& b) {
    if (a.Count() != b.Count()) return false;
    for (std::size_t k = 0; k < a.Count(); ++k) {
        const float u = a.FuncValue(k), v = b.FuncValue(k);
        if (std::memcmp(&u, &v, sizeof u) != 0 || a.At(k).Values != b.At(k).Values) return false;
    }
    return true;
}

void PerCandidate(benchmark::State& state, AlgParameters (*make)(), Search search, Rules rules,
                  void (*tune)(AlgParameters&), unsigned long long budget) {
    AlgParameters base = make();
    tune(base);
    double searchTime = 0, floorTime = 0;
    unsigned long long candidates = 0, steps = 0;
    Phases phases;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        AlgParameters p = base;
        AlgParameters fp = base;
        Floor floor(fp, rules);
        double setup = 0, run = 0, floorRun = 0;
        unsigned long long evaluations = 0;
        bool same = true;
        while (evaluations < budget && same) {
            SolutionList list;
            const double t0 = CpuNow();
            {
                BenchControl idle(p, 0, seed);
                search(p, list, idle);
            }
            const double t1 = CpuNow();
            const unsigned long long before = p.Evaluations();
            SolutionList runList;
            const unsigned long long left = budget - evaluations + 1;
            const double t2 = CpuNow();
            {
                BenchControl control(p, left, seed, &phases);
                search(p, runList, control);
                control.EndPhases();
            }
            const double t3 = CpuNow();
            const unsigned long long made = p.Evaluations() - before - 1;  // start is set-up
            if (made == 0) break;
            SolutionList floorList;
            const unsigned long long floorBefore = fp.Evaluations();
            floorRun += floor.Run(seed++, left, floorList);
            same = fp.Evaluations() - floorBefore - 1 == made && SameSteps(floorList, runList);
            evaluations += made;
            steps += runList.Count() - 1;
            setup += t1 - t0;
            run += t3 - t2;
        }
        if (!same) {
            state.SkipWithError("the floor does not make the run's candidates and steps");
            break;
        }
        searchTime += run - setup;
        floorTime += floorRun;
        candidates += evaluations;
        state.SetIterationTime(run - setup);
    }
    state.counters["ns_per_candidate"] = searchTime / candidates * 1e9;
    state.counters["floor_ns"] = floorTime / candidates * 1e9;
    state.counters["ratio"] = searchTime / floorTime;
    state.counters["steps_per_k"] = 1000.0 * steps / candidates;
    if (rules == Rules::Annealing)
        state.counters["cooling_pct"] = 100.0 * phases.cooling / (phases.heating + phases.cooling);
}

// The settings of the cases: a radius of a thousandth of each range (long climbs of small
// steps), or of a tenth with the start settings, where annealing heats for the whole budget.
void SmallSteps(AlgParameters& p) {
    p.A = 0.001f;
}
void LargeSteps(AlgParameters& p) {
    p.A = 0.1f;
}
// Annealing that heats for one stage (an acceptance above 5 % ends the heating at once) and then
// cools: small steps, so most of the cooling's candidates improve a little and are published,
// slow cooling from 100 (Alfa 0.99: 459 stages before the temperature drops below 1), and a Stop
// of 0.6, the start value, so the flat counter counts. The three-variable case then cools its
// way to the end of the run; the 19-variable one with a stage of 2^19 moves heats for one stage
// and cools for the rest of its budget.
void Cooling(AlgParameters& p) {
    p.A = 0.001f;
    p.PercentAc = 5;
    p.Alfa = 0.99f;
    p.Lk = 1;
}

}  // namespace

BENCHMARK_CAPTURE(PerCandidate, Greedy3, StartUpProblem, RunGreedy, Rules::Greedy, SmallSteps,
                  200000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Steepest3, StartUpProblem, RunSteepest, Rules::Steepest, SmallSteps,
                  200000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Annealing3, StartUpProblem, RunAnnealing, Rules::Annealing,
                  LargeSteps, 200000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Annealing3Cooling, StartUpProblem, RunAnnealing, Rules::Annealing,
                  Cooling, 200000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Greedy19, SumOfSquares19, RunGreedy, Rules::Greedy, SmallSteps,
                  1 << 19)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Steepest19, SumOfSquares19, RunSteepest, Rules::Steepest,
                  SmallSteps, 1 << 19)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Annealing19, SumOfSquares19, RunAnnealing, Rules::Annealing,
                  LargeSteps, 1 << 19)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerCandidate, Annealing19Cooling, SumOfSquares19, RunAnnealing, Rules::Annealing,
                  Cooling, 1 << 20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

namespace {

// A whole run on the window's worker (its lock, gate, counts and evaluation records at every
// publish) against the same run on the bench control, both to their own end from one seed:
// what the worker adds to a run with no delay. The worker's own processor time is read after
// it has finished, so it is exact.
void ThroughWorker(benchmark::State& state, Search search, AlgorithmKind kind,
                   void (*tune)(AlgParameters&)) {
    AlgParameters base = StartUpProblem();
    tune(base);
    double direct = 0, worker = 0;
    unsigned long long evaluations = 0;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        AlgParameters p = base;
        SolutionList list;
        const double t0 = CpuNow();
        {
            BenchControl control(p, ~0ULL / 2, seed);
            search(p, list, control);
        }
        direct += CpuNow() - t0;
        auto run = OptimizationThread::Start(base, kind, OptimizationThread::Options{seed++, {}});
        while (!run->IsFinished()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        worker += run->CpuSeconds();
        evaluations += run->Evaluations();
        state.SetIterationTime(run->CpuSeconds());
    }
    state.counters["ns_per_evaluation"] = worker / evaluations * 1e9;
    state.counters["over_direct"] = worker / direct;
}

}  // namespace

BENCHMARK_CAPTURE(ThroughWorker, Greedy3, RunGreedy, Greedy, SmallSteps)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ThroughWorker, Annealing3Cooling, RunAnnealing, SimulatedAnnealing, Cooling)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
