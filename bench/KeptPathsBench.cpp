#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "app/chartpage/KeptPaths.h"
#include "bench/WalkingPath.h"
#include "chart/ChartModel.h"

using namespace quarmel;

namespace {

// What a window tick and its frame pay for a race's lanes on the chart: four lanes of 10^5
// solutions each, every lane growing by 100 at every tick. whole = 0: the chart's paths follow
// the lists by appending the new markers and their scene points (KeptPathFeed); whole = 1: every
// path's markers built again and their scene points worked out again, as when they were rebuilt
// at every tick where a path grew.
void BM_LanesTick(benchmark::State& state) {
    const bool whole = state.range(0) != 0;
    constexpr std::size_t kLanes = 4, kStart = 100000, kPerTick = 100;
    const std::vector<float> walk =
        WalkingPath(static_cast<int>(kLanes * (kStart + 200 * kPerTick)));
    std::vector<std::shared_ptr<SolutionList>> lists;
    std::vector<KeptPath> runs;
    std::size_t read = 0;
    const auto grow = [&](std::size_t count) {
        for (auto& list : lists) {
            for (std::size_t k = 0; k < count; ++k, read += 3) {
                list->Append(walk.begin() + static_cast<long>(read),
                             walk.begin() + static_cast<long>(read) + 2, walk[read + 2]);
            }
        }
    };
    for (std::size_t i = 0; i < kLanes; ++i) {
        lists.push_back(std::make_shared<SolutionList>());
        runs.push_back({lists.back(), {static_cast<std::uint8_t>(60 * i), 0, 0}});
    }
    grow(kStart);
    auto model = std::make_unique<ChartModel>();
    model->SetSurface(-50, 50, -40, 40, 0, 4000, {});
    const MarkerAxes axes{0, 1, -50, 50, -40, 40};
    KeptPathFeed feed;
    for (auto _ : state) {
        grow(kPerTick);
        if (whole) {
            model->SetKeptPaths(KeptPathMarkers(runs, axes));
            for (const ColouredPath& path : model->KeptPaths())
                benchmark::DoNotOptimize(model->ScenePoints(path.Points, false).data());
        } else {
            feed.Update(runs, axes, *model);
            for (std::size_t i = 0; i < model->KeptPaths().size(); ++i)
                benchmark::DoNotOptimize(model->KeptScene(i, false).data());
        }
    }
}

}  // namespace

BENCHMARK(BM_LanesTick)
    ->ArgName("whole")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);
