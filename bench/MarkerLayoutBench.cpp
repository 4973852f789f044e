#include <benchmark/benchmark.h>

#include <cmath>
#include <utility>

#include "bench/DefaultView.h"
#include "bench/WalkingPath.h"
#include "chart/ChartFrame.h"
#include "chart/ChartModel.h"
#include "chart/MarkerLayout.h"
#include "chart/Sampling.h"

using namespace quarmel;

// The marker layout of a default frame alone, without the graphics library: n markers of a
// walking path (as the render benchmark draws them) in a window of w x h pixels, on as many
// threads as it takes (threads = 0) or on one. Steadier than the whole frame on a shared
// machine, since no rasteriser threads compete with it.
static void BM_PlanMarkers(benchmark::State& state) {
    const int width = static_cast<int>(state.range(1)), height = static_cast<int>(state.range(2));
    FunctionParser parser;
    AddSpiral(parser);
    parser.Parse("x^2+(y-2)^2+3*c", "x,y,c", false);
    const std::vector<VariableSpec> vars = {{"x", -50, 50, 0}, {"y", -40, 40, 6}, {"c", 1, 15, 5}};
    const SurfaceSampling s = SampleOverXY(parser, vars, 0, 1, -50, 50, -40, 40);
    ChartModel chart;
    chart.SetData(s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax, s.HeightMin,
                  s.HeightMax, s.Samples, WalkingPath(static_cast<int>(state.range(0))), {});
    const std::vector<ScenePoint>& path = chart.SolutionScene(false);
    const MarkerView view = DefaultView(chart, width, height);
    MarkerLayout layout(static_cast<std::size_t>(state.range(3)));
    MarkerPlan plan;
    layout.Plan(path, view, plan);  // grows the buffers later frames reuse
    for (auto _ : state) {
        layout.Plan(path, view, plan);
        benchmark::DoNotOptimize(plan.Pixels.Depths.data());
    }
    state.counters["spheres"] = static_cast<double>(plan.Count());
}
BENCHMARK(BM_PlanMarkers)
    ->ArgNames({"markers", "w", "h", "threads"})
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (int markers : {10000, 1000000})
            for (const auto& [w, h] :
                 {std::pair{654, 632}, std::pair{1920, 1080}, std::pair{3840, 2160}})
                b->Args({markers, w, h, 0});
        b->Args({1000000, 1920, 1080, 1});  // one thread: the cost of the work itself
    })
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
