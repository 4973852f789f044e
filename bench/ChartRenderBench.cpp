#include <benchmark/benchmark.h>

#include <memory>

#include "chart/ChartModel.h"
#include "chart/Sampling.h"
#include "chart/SurfaceChart.h"
#include "tests/chart/render/OffscreenGl.h"

using namespace quarmel;
using quarmel::testing::OffscreenGl;

namespace {

constexpr int kWidth = 654;
constexpr int kHeight = 632;

// A frame of the start-up problem at the panel's start-up size, rendered until finished.
void RenderFrames(benchmark::State& state, const ChartFrame& frame) {
    if (!OffscreenGl::DisplayAvailable()) {
        state.SkipWithError("no X display (run under xvfb-run)");
        return;
    }
    static OffscreenGl* gl = new OffscreenGl(kWidth, kHeight);
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
    renderer.Render(*chart, 0, 0, kWidth, kHeight, frame);
    chart->SetData(s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax, s.HeightMin,
                   s.HeightMax, s.Samples, {0, 2, 15, 10, 10, 200, 25, 2, 4000}, {});
    for (auto _ : state) renderer.Render(*chart, 0, 0, kWidth, kHeight, frame);
    renderer.DetachContext();
}

}  // namespace

static void BM_RenderDefaultFrame(benchmark::State& state) {
    RenderFrames(state, ChartFrame{});
}
BENCHMARK(BM_RenderDefaultFrame)->Unit(benchmark::kMillisecond);

static void BM_RenderSpiralFrame(benchmark::State& state) {
    ChartFrame frame;
    frame.SpiralMode = true;
    RenderFrames(state, frame);
}
BENCHMARK(BM_RenderSpiralFrame)->Unit(benchmark::kMillisecond);

static void BM_RenderWaveFrame(benchmark::State& state) {
    ChartFrame frame;
    frame.WaveMode = true;
    RenderFrames(state, frame);
}
BENCHMARK(BM_RenderWaveFrame)->Unit(benchmark::kMillisecond);
