#include <benchmark/benchmark.h>

#include <time.h>

#include "bench/StartUpProblem.h"
#include "model/Problem.h"
#include "model/Random.h"
#include "model/Solution.h"

using namespace quarmel;

// Cost of one evaluation of a typical two-variable formula: the unit every algorithm pays.
static void BM_EvalTwoVariables(benchmark::State& state) {
    Problem p;
    p.AddVariable("x", -5, 5, 0);
    p.AddVariable("y", -5, 5, 0);
    p.SetFunctionText("sin(x)*cos(y)+0.1*x*x-y");
    p.Compile();
    double v[2] = {0.5, -1.25};
    for (auto _ : state) {
        v[0] += 1e-9;
        benchmark::DoNotOptimize(p.Eval(v));
    }
}
BENCHMARK(BM_EvalTwoVariables);

// The calling thread's processor time in nanoseconds: on a shared machine, time spent waiting
// for a core would drown the difference measured below.
static double ThreadNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// What the undefined check costs: the same parser evaluated through Problem::Eval (which counts
// the evaluation and adds the parser's error code to the undefined count) and directly with only
// the evaluation counted, in alternating blocks so that both meet the same machine state. Reports
// each path's processor time per evaluation and the check's extra time in percent.
static void BM_UndefinedCheckCost(benchmark::State& state) {
    AlgParameters p = StartUpProblem();
    if (state.range(0) == 1) p.SetFunctionText("sin(x)*cos(y)+0.1*x*x-y+sqrt(c)");
    p.Compile();
    FunctionParser& raw = p.Parser();
    double v[3] = {0.5, -1.25, 5.0};
    constexpr int kBlock = 2000;
    double checked = 0, unchecked = 0;
    unsigned long long evaluations = 0;
    for (auto _ : state) {
        const double t0 = ThreadNs();
        for (int i = 0; i < kBlock; ++i) {
            v[0] += 1e-9;
            benchmark::DoNotOptimize(p.Eval(v));
        }
        const double t1 = ThreadNs();
        for (int i = 0; i < kBlock; ++i) {
            v[0] += 1e-9;
            ++evaluations;
            benchmark::DoNotOptimize(raw.Eval(v));
            benchmark::ClobberMemory();
        }
        const double t2 = ThreadNs();
        checked += t1 - t0;
        unchecked += t2 - t1;
    }
    benchmark::DoNotOptimize(evaluations);
    const double n = static_cast<double>(state.iterations()) * kBlock;
    state.counters["checked_ns"] = checked / n;
    state.counters["unchecked_ns"] = unchecked / n;
    state.counters["check_cost_pct"] = (checked / unchecked - 1.0) * 100.0;
}
BENCHMARK(BM_UndefinedCheckCost)->Arg(0)->Arg(1)->MinTime(1.0);

static void BM_GridDraw(benchmark::State& state) {
    SeedRandom(1);
    for (auto _ : state) benchmark::DoNotOptimize(GridDraw(0.5f));
}
BENCHMARK(BM_GridDraw);

// Copying a published list is what the window's progress timer pays at every tick.
static void BM_CopyList(benchmark::State& state) {
    SolutionList list;
    for (int i = 0; i < state.range(0); ++i) list.Append(Solution{{1.0f, 2.0f}, float(i)});
    for (auto _ : state) {
        SolutionList copy = list;
        benchmark::DoNotOptimize(copy.Count());
    }
}
BENCHMARK(BM_CopyList)->Arg(100)->Arg(10000);
