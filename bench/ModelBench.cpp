#include <benchmark/benchmark.h>

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
