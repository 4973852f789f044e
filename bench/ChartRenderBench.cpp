#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "algorithms/Globalsearch.h"
#include "algorithms/Greedy.h"
#include "algorithms/RunControl.h"
#include "bench/StartUpProblem.h"
#include "bench/WalkingPath.h"
#include "chart/MarkerPoints.h"

#include "chart/ChartModel.h"
#include "chart/Sampling.h"
#include "chart/SurfaceChart.h"
#include "tests/chart/render/OffscreenGl.h"

using namespace quarmel;
using quarmel::testing::OffscreenGl;

namespace {

constexpr int kWidth = 654;
constexpr int kHeight = 632;

// One offscreen framebuffer per window size, kept for the whole program, and made current: a
// frame drawn into the framebuffer of a larger size made before would pay for clearing all of it.
OffscreenGl* GlOfSize(int width, int height) {
    static std::map<std::pair<int, int>, OffscreenGl*> made;
    OffscreenGl*& gl = made[{width, height}];
    if (gl == nullptr) gl = new OffscreenGl(width, height);
    gl->MakeCurrent();
    return gl;
}

// A frame of the start-up problem in a window of w x h pixels (the arguments), rendered until
// finished.
void RenderFrames(benchmark::State& state, const ChartFrame& frame) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    if (!OffscreenGl::DisplayAvailable()) {
        state.SkipWithError("no X display (run under xvfb-run)");
        return;
    }
    OffscreenGl* gl = GlOfSize(width, height);
    if (!gl->Ok()) {
        state.SkipWithError("no OpenGL framebuffer");
        return;
    }
    FunctionParser parser;
    AddSpiral(parser);
    parser.Parse("x^2+(y-2)^2+3*c", "x,y,c", false);
    const std::vector<VariableSpec> vars = {{"x", -50, 50, 0}, {"y", -40, 40, 6}, {"c", 1, 15, 5}};
    const SurfaceSampling s = SampleOverXY(parser, vars, 0, 1, -50, 50, -40, 40);
    auto chart = std::make_unique<ChartModel>();
    SurfaceChart renderer;
    renderer.AttachContext(OffscreenGl::SolidGlyphs());
    renderer.Render(*chart, 0, 0, width, height, frame);
    chart->SetData(s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax, s.HeightMin,
                   s.HeightMax, s.Samples, {0, 2, 15, 10, 10, 200, 25, 2, 4000}, {});
    for (auto _ : state) renderer.Render(*chart, 0, 0, width, height, frame);
    renderer.DetachContext();
}

}  // namespace

// The panel's start-up size, a maximised window on a full-HD screen and on a 4K one.
static void WindowSizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"w", "h"})->Args({kWidth, kHeight})->Args({1920, 1080})->Args({3840, 2160});
}

static void BM_RenderDefaultFrame(benchmark::State& state) {
    RenderFrames(state, ChartFrame{});
}
BENCHMARK(BM_RenderDefaultFrame)->Apply(WindowSizes)->Unit(benchmark::kMillisecond);

static void BM_RenderSpiralFrame(benchmark::State& state) {
    ChartFrame frame;
    frame.SpiralMode = true;
    RenderFrames(state, frame);
}
BENCHMARK(BM_RenderSpiralFrame)->Apply(WindowSizes)->Unit(benchmark::kMillisecond);

static void BM_RenderWaveFrame(benchmark::State& state) {
    ChartFrame frame;
    frame.WaveMode = true;
    RenderFrames(state, frame);
}
BENCHMARK(BM_RenderWaveFrame)->Apply(WindowSizes)->Unit(benchmark::kMillisecond);

namespace {

// Ends a run after a given number of published steps.
class StepBudget : public SyncRunControl {
  public:
    explicit StepBudget(std::size_t steps) : SyncRunControl(3), left_(steps) {}
    void Publish(ListChangeRef change) override {
        change();
        if (--left_ == 0) stop = true;
    }

  private:
    std::size_t left_;
};

// The markers of a real greedy search over the start-up problem with a very small neighbourhood
// (A = 1e-6): up to n tiny improving steps, many to a pixel, running down into the bowl.
std::vector<float> SearchPath(std::size_t n) {
    AlgParameters p = StartUpProblem();
    p.A = 1e-6f;
    SolutionList steps;
    StepBudget control(n);
    RunGreedy(p, steps, control);
    return SolutionMarkers(steps, MarkerAxes{0, 1, -50, 50, -40, 40});
}

struct Scene {
    OffscreenGl* gl = nullptr;
    int width = kWidth, height = kHeight;
    SurfaceSampling samples;
    std::unique_ptr<ChartModel> chart = std::make_unique<ChartModel>();
    SurfaceChart renderer;
};

// The start-up problem in a window of the given size (the panel's start-up size by default),
// ready to draw; null without a display.
std::unique_ptr<Scene> MakeScene(benchmark::State& state, int width = kWidth,
                                 int height = kHeight) {
    if (!OffscreenGl::DisplayAvailable()) {
        state.SkipWithError("no X display (run under xvfb-run)");
        return nullptr;
    }
    OffscreenGl* gl = GlOfSize(width, height);
    if (!gl->Ok()) {
        state.SkipWithError("no OpenGL framebuffer");
        return nullptr;
    }
    auto scene = std::make_unique<Scene>();
    scene->gl = gl;
    scene->width = width;
    scene->height = height;
    FunctionParser parser;
    AddSpiral(parser);
    parser.Parse("x^2+(y-2)^2+3*c", "x,y,c", false);
    const std::vector<VariableSpec> vars = {{"x", -50, 50, 0}, {"y", -40, 40, 6}, {"c", 1, 15, 5}};
    scene->samples = SampleOverXY(parser, vars, 0, 1, -50, 50, -40, 40);
    scene->renderer.AttachContext(OffscreenGl::SolidGlyphs());
    scene->renderer.Render(*scene->chart, 0, 0, width, height, ChartFrame{});
    return scene;
}

void SetMarkers(Scene& scene, std::vector<float> solutions, std::vector<float> population) {
    const SurfaceSampling& s = scene.samples;
    scene.chart->SetData(s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax, s.HeightMin,
                         s.HeightMax, s.Samples, std::move(solutions), std::move(population));
}

// A default frame with n distinct markers in a window of w x h pixels; exact = 1 draws every
// marker as a full sphere, one after the other (the drawing before the marker layout). A million
// markers, the path of a long local search, only with the layout: drawn exactly, one frame takes
// minutes. The layout plans a long path on one thread per processor, and the software rasteriser
// has threads of its own: the CPU column counts every thread of the process, the time column is
// wall time. On a shared machine the CPU time is the steadier of the two.
void BM_RenderMarkers(benchmark::State& state) {
    const int width = static_cast<int>(state.range(2)), height = static_cast<int>(state.range(3));
    auto scene = MakeScene(state, width, height);
    if (!scene) return;
    SetMarkers(*scene, WalkingPath(static_cast<int>(state.range(0))), {});
    scene->renderer.ExactMarkers = state.range(1) != 0;
    // The first frame after new markers also grows the layout's buffers, which later frames
    // reuse: it is timed on its own (first_ms), and the loop times the frames of a chart being
    // turned.
    // On a shared machine its CPU time (first_cpu_ms, all threads) is the steadier figure.
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t startCpu = std::clock();
    scene->renderer.Render(*scene->chart, 0, 0, width, height, ChartFrame{});
    state.counters["first_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    state.counters["first_cpu_ms"] =
        1e3 * static_cast<double>(std::clock() - startCpu) / CLOCKS_PER_SEC;
    for (auto _ : state) scene->renderer.Render(*scene->chart, 0, 0, width, height, ChartFrame{});
    scene->renderer.DetachContext();
}

// A default frame with the path of a long greedy search; the counter is its length.
void BM_RenderSearchPath(benchmark::State& state) {
    auto scene = MakeScene(state);
    if (!scene) return;
    std::vector<float> path = SearchPath(static_cast<std::size_t>(state.range(0)));
    state.counters["markers"] = static_cast<double>(path.size() / 3);
    SetMarkers(*scene, std::move(path), {});
    for (auto _ : state) scene->renderer.Render(*scene->chart, 0, 0, kWidth, kHeight, ChartFrame{});
    scene->renderer.DetachContext();
}

// One progress-timer tick and its frame with a 1000-generation genetic history: the snapshot of
// the history and the population under the run's lock, the marker lists, the chart model and
// the frame.
void BM_GeneticTickAndFrame(benchmark::State& state) {
    auto scene = MakeScene(state);
    if (!scene) return;
    AlgParameters p = StartUpProblem();
    p.Iterations = 1000;
    GeneticProgress progress;
    SyncRunControl control(1);
    RunGenetic(progress, p, control);
    std::mutex lock;
    scene->renderer.ExactMarkers = state.range(0) != 0;
    const SurfaceSampling& s = scene->samples;
    const MarkerAxes axes{0, 1, s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax};
    for (auto _ : state) {
        SolutionList history, population;
        {
            std::lock_guard<std::mutex> g(lock);
            history = progress.History;
            population = *progress.Population;
        }
        SetMarkers(*scene, SolutionMarkers(history, axes), PopulationMarkers(population, axes));
        scene->renderer.Render(*scene->chart, 0, 0, kWidth, kHeight, ChartFrame{});
    }
    state.counters["history"] = static_cast<double>(progress.History.Count());
    scene->renderer.DetachContext();
}

// A race's lanes against one run: four paths of n markers each, each in a colour of its own,
// drawn over the chart with no path of the window's run, and the one path of the 4n markers
// they were cut from, drawn as the window's run. Both frames are drawn in every iteration, one
// after the other, so they see the same load; the time column is the four paths' frame, `ratio`
// is four paths' time over one path's and `cpu_ratio` the same for the processor time.
void BM_RenderLanes(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    auto scene = MakeScene(state);
    if (!scene) return;
    const std::vector<float> walk = WalkingPath(static_cast<int>(4 * n));
    SetMarkers(*scene, walk, {});
    auto lanes = std::make_unique<ChartModel>();
    const SurfaceSampling& s = scene->samples;
    lanes->SetData(s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax, s.HeightMin,
                   s.HeightMax, s.Samples, {}, {});
    const std::array<std::uint8_t, 3> colours[] = {
        {255, 0, 0}, {0, 255, 0}, {0, 128, 255}, {255, 0, 255}};
    std::vector<ColouredPath> paths;
    for (std::size_t k = 0; k < 4; ++k) {
        const auto from = walk.begin() + static_cast<long>(3 * n * k);
        paths.push_back({std::vector<float>(from, from + static_cast<long>(3 * n)), colours[k]});
    }
    lanes->SetKeptPaths(std::move(paths));
    // A frame's wall time and the processor time of all the process's threads (the layout's
    // and the rasteriser's), in milliseconds; on a shared machine the second is the steadier.
    const auto processMs = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
    };
    const auto frame = [&](ChartModel& model, double& wall, double& cpu) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = processMs();
        scene->renderer.Render(model, 0, 0, kWidth, kHeight, ChartFrame{});
        cpu += processMs() - cpuStart;
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        wall += ms;
        return ms;
    };
    // The first frames grow the buffers and work out what is kept from frame to frame.
    double one = 0, four = 0, oneCpu = 0, fourCpu = 0;
    frame(*scene->chart, one, oneCpu);
    frame(*lanes, four, fourCpu);
    one = four = oneCpu = fourCpu = 0;
    for (auto _ : state) {
        frame(*scene->chart, one, oneCpu);
        state.SetIterationTime(frame(*lanes, four, fourCpu) * 1e-3);
    }
    const auto frames = static_cast<double>(state.iterations());
    state.counters["one_ms"] = one / frames;
    state.counters["four_ms"] = four / frames;
    state.counters["ratio"] = four / one;
    state.counters["one_cpu_ms"] = oneCpu / frames;
    state.counters["four_cpu_ms"] = fourCpu / frames;
    state.counters["cpu_ratio"] = fourCpu / oneCpu;
    scene->renderer.DetachContext();
}

}  // namespace

// The panel's start-up size, a maximised window on a full-HD screen and on a 4K one.
BENCHMARK(BM_RenderMarkers)
    ->ArgNames({"markers", "exact", "w", "h"})
    ->ArgsProduct({{3, 200, 1000, 10000}, {0, 1}, {kWidth}, {kHeight}})
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (const auto& [w, h] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
            b->Args({3, 0, w, h});  // next to nothing: what the rest of the frame costs
            b->Args({10000, 0, w, h});
        }
        for (const auto& [w, h] :
             {std::pair{kWidth, kHeight}, std::pair{1920, 1080}, std::pair{3840, 2160}})
            b->Args({1000000, 0, w, h});
    })
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_RenderSearchPath)
    ->ArgName("steps")
    ->Arg(10000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GeneticTickAndFrame)->ArgName("exact")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderLanes)
    ->ArgName("markers")
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", [](const std::vector<double>& v) {
        return *std::min_element(v.begin(), v.end());
    });
