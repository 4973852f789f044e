// A race runs one worker per algorithm at once from the same seed: each lane must publish exactly
// what the same algorithm publishes alone from that seed.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "SearchFixtures.h"
#include "algorithms/AlgorithmTable.h"
#include "algorithms/Optimizationthread.h"
#include "support/SolutionSupport.h"

using namespace quarmel;
using namespace quarmel::testing;
using namespace std::chrono_literals;

namespace {

using Worker = std::shared_ptr<OptimizationThread>;

AlgParameters SmallRuns() {
    AlgParameters p = Params("x*x+y*y+3*sin(x*y)", {{"x", -5, 5}, {"y", -5, 5}});
    p.PopSize = 20;
    p.Iterations = 15;
    p.GeneticSleep = 0;
    p.RandomSamples = 300;
    p.CmaPopSize = p.DePopSize = p.PsoPopSize = 12;
    p.CmaGenerations = p.DeGenerations = p.PsoGenerations = 15;
    p.ReferenceSleep = 0;
    return p;
}

Worker Start(const AlgParameters& p, std::size_t row, std::uint32_t seed) {
    OptimizationThread::Options options;
    options.seed = seed;
    return OptimizationThread::Start(p, KindAt(row), options);
}

void WaitFinished(const Worker& w) {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!w->IsFinished() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_TRUE(w->IsFinished());
}

}  // namespace

TEST(RaceWorkers, EveryLaneGivesTheRunItsAlgorithmGivesAlone) {
    const AlgParameters p = SmallRuns();
    const std::uint32_t seed = 20261208;
    std::vector<Worker> lanes;
    for (std::size_t row = 0; row < kAlgorithmCount; ++row) lanes.push_back(Start(p, row, seed));
    for (const Worker& lane : lanes) WaitFinished(lane);
    for (std::size_t row = 0; row < kAlgorithmCount; ++row) {
        SCOPED_TRACE(kAlgorithms[row].Key);
        const Worker alone = Start(p, row, seed);
        WaitFinished(alone);
        const SolutionList solutions = alone->SnapshotSolutions();
        EXPECT_GT(solutions.Count(), 0u);
        EXPECT_TRUE(SameList(lanes[row]->SnapshotSolutions(), solutions));
        EXPECT_TRUE(SameList(lanes[row]->SnapshotPopulation(), alone->SnapshotPopulation()));
        EXPECT_EQ(lanes[row]->Evaluations(), alone->Evaluations());
    }
}
