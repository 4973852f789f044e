#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>

#include "app/chartpage/MarkerFeed.h"
#include "bench/DefaultView.h"
#include "bench/HugeList.h"
#include "bench/PeakMemory.h"
#include "chart/ChartModel.h"
#include "chart/MarkerLayout.h"
#include "chart/Sampling.h"

using namespace quarmel;

// The Chart page's first frame after a huge file was opened: from the solutions in memory to the
// first frame's marker layout done (the markers built for the chosen axes, placed in the scene
// and laid out for a default frame of 1920 x 1080), and what that adds to the peak resident
// memory, measured in a child process. A file of this many one-variable solutions is about
// 200 MB; the figures are given against that size (file_ratio) and against the solutions' own
// block (list_ratio).

namespace {

// Wall and process CPU time of one phase, to tell how much of it runs on one thread.
struct Clock {
    std::chrono::steady_clock::time_point Wall = std::chrono::steady_clock::now();
    double Cpu = ProcessCpu();
    static double ProcessCpu() {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
    }
};
struct Phase {
    double Wall = 0.0, Cpu = 0.0;
    void Add(const Clock& from, const Clock& to) {
        Wall += std::chrono::duration<double>(to.Wall - from.Wall).count();
        Cpu += to.Cpu - from.Cpu;
    }
};

struct Page {
    std::unique_ptr<ChartModel> Chart = std::make_unique<ChartModel>();
    MarkerFeed Feed;
    MarkerLayout Layout;
    MarkerPlan Plan;
};

// The first frame: the markers fed to the chart, then its layout.
void FirstFrame(const SolutionList& solutions, Page& page) {
    page.Feed.Update(solutions, ChosenAxes(), *page.Chart);
    const std::vector<ScenePoint>& path = page.Chart->SolutionScene(false);
    page.Layout.Plan(path, DefaultView(*page.Chart, 1920, 1080), page.Plan);
}

void BM_FirstFrameLayout(benchmark::State& state) {
    const SolutionList& solutions = HugeList(static_cast<std::size_t>(state.range(0)));
    Phase feed, scene, plan;
    double spheres = 0.0, painted = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<Page>();
        SetUpSurface(*page->Chart);
        state.ResumeTiming();
        const Clock start;
        page->Feed.Update(solutions, ChosenAxes(), *page->Chart);
        const Clock fed;
        const std::vector<ScenePoint>& path = page->Chart->SolutionScene(false);
        const Clock placed;
        page->Layout.Plan(path, DefaultView(*page->Chart, 1920, 1080), page->Plan);
        const Clock planned;
        feed.Add(start, fed);
        scene.Add(fed, placed);
        plan.Add(placed, planned);
        benchmark::DoNotOptimize(page->Plan.Pixels.Depths.data());
        state.PauseTiming();
        // What the frame shows, to compare layouts by: the spheres kept, the pixels painted.
        const std::vector<float>& depths = page->Plan.Pixels.Depths;
        spheres = static_cast<double>(page->Plan.Count());
        painted = static_cast<double>(
            std::count_if(depths.begin(), depths.end(), [](float z) { return z < 1.0f; }));
        page.reset();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    // The feed (solutions to the model's markers), the scene points, the layout: wall and CPU.
    state.counters["feed_ms"] = 1e3 * feed.Wall / n;
    state.counters["feed_cpu_ms"] = 1e3 * feed.Cpu / n;
    state.counters["scene_ms"] = 1e3 * scene.Wall / n;
    state.counters["scene_cpu_ms"] = 1e3 * scene.Cpu / n;
    state.counters["plan_ms"] = 1e3 * plan.Wall / n;
    state.counters["plan_cpu_ms"] = 1e3 * plan.Cpu / n;
    state.counters["spheres"] = spheres;
    state.counters["painted_px"] = painted;
}
BENCHMARK(BM_FirstFrameLayout)
    ->ArgNames({"solutions"})
    ->Arg(12700000)
    ->Iterations(2)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_FirstFramePeakMemory(benchmark::State& state) {
    const SolutionList& solutions = HugeList(static_cast<std::size_t>(state.range(0)));
    std::size_t growth = 0;
    for (auto _ : state) {
        growth = PeakGrowth([&solutions] {
            Page page;
            SetUpSurface(*page.Chart);
            FirstFrame(solutions, page);
            return page.Plan.Count() > 0;
        });
    }
    if (growth == 0) state.SkipWithError("the frame failed or its peak could not be read");
    const double held = static_cast<double>(solutions.HeldBytes() + growth);
    state.counters["list_mb"] = static_cast<double>(solutions.HeldBytes()) / (1 << 20);
    state.counters["peak_growth_mb"] = static_cast<double>(growth) / (1 << 20);
    state.counters["file_ratio"] = held / kFileBytes;
    state.counters["list_ratio"] = held / static_cast<double>(solutions.HeldBytes());
}
BENCHMARK(BM_FirstFramePeakMemory)
    ->ArgNames({"solutions"})
    ->Arg(12700000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
