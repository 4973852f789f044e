// A race runs one worker per algorithm at once from the same seed: each lane must publish exactly
// what the same algorithm publishes alone from that seed.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "SearchFixtures.h"
#include "algorithms/AlgorithmTable.h"
#include "algorithms/Optimizationthread.h"
#include "support/SolutionSupport.h"

using namespace quarmel;
using namespace quarmel::testing;
using namespace std::chrono_literals;

namespace {

using Worker = std::shared_ptr<OptimizationThread>;

Worker Start(const AlgParameters& p, std::size_t row, std::uint32_t seed) {
    return OptimizationThread::Start(p, KindAt(row), OptimizationThread::Options{seed, {}});
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
    AlgParameters p = Params("x*x+y*y+3*sin(x*y)", {{"x", -5, 5}, {"y", -5, 5}});
    p.PopSize = p.CmaPopSize = p.DePopSize = p.PsoPopSize = 12;
    p.Iterations = p.CmaGenerations = p.DeGenerations = p.PsoGenerations = 15;
    p.RandomSamples = 300;
    p.GeneticSleep = p.ReferenceSleep = 0;
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
