#include <benchmark/benchmark.h>

#include <memory>

#include "chart/ChartModel.h"
#include "chart/Sampling.h"
#include "model/Problem.h"

using namespace quarmel;

namespace {

const std::vector<VariableSpec> kVariables = {
    {"x", -50, 50, 0}, {"y", -40, 40, 6}, {"c", 1, 15, 5}};

void CompileDefault(FunctionParser& parser) {
    AddSpiral(parser);
    parser.Parse("x^2+(y-2)^2+3*c", "x,y,c", false);
}

}  // namespace

// The baseline of sampling: 10000 bare evaluations of the start-up formula.
static void BM_Eval10000(benchmark::State& state) {
    FunctionParser parser;
    CompileDefault(parser);
    double v[3] = {0, 6, 5};
    for (auto _ : state) {
        double sum = 0;
        for (int j = 0; j < 100; ++j) {
            v[1] = -40.0 + j * 0.8;
            for (int k = 0; k < 100; ++k) {
                v[0] = -50.0 + k;
                sum += parser.Eval(v);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_Eval10000);

// A two-axis sampling of the same formula: 10000 evaluations with the bookkeeping around them.
static void BM_SampleOverXY(benchmark::State& state) {
    FunctionParser parser;
    CompileDefault(parser);
    for (auto _ : state) {
        SurfaceSampling s = SampleOverXY(parser, kVariables, 0, 1, -50, 50, -40, 40);
        benchmark::DoNotOptimize(s.Samples.data());
    }
}
BENCHMARK(BM_SampleOverXY);

// What the progress timer pays at every tick besides drawing.
static void BM_SetData(benchmark::State& state) {
    FunctionParser parser;
    CompileDefault(parser);
    const SurfaceSampling s = SampleOverXY(parser, kVariables, 0, 1, -50, 50, -40, 40);
    const std::vector<float> path(300, 1.0f);
    auto chart = std::make_unique<ChartModel>();
    for (auto _ : state) {
        chart->SetData(s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax, s.HeightMin,
                       s.HeightMax, s.Samples, path, {});
        benchmark::DoNotOptimize(chart->Vertices.data());
    }
}
BENCHMARK(BM_SetData);

// One step of the wave demonstration's simulation and its copy into the grid.
static void BM_WaveStep(benchmark::State& state) {
    auto chart = std::make_unique<ChartModel>();
    chart->RebuildGrid();
    chart->Wave.Start();
    for (auto _ : state) {
        chart->Wave.Step();
        chart->Wave.Show(chart->Vertices);
        benchmark::DoNotOptimize(chart->Vertices.data());
    }
}
BENCHMARK(BM_WaveStep);
