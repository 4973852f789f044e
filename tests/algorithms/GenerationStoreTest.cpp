#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "SearchFixtures.h"
#include "algorithms/GenerationStore.h"
#include "algorithms/Globalsearch.h"
#include "algorithms/Optimizationthread.h"
#include "support/SolutionSupport.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

// Generation g: two members of one variable, (g, -g) and (g + 0.5, g): 16 bytes.
SolutionList GenerationOf(int g) {
    const float f = static_cast<float>(g);
    return ListOf({Make({f}, -f), Make({f + 0.5f}, f)});
}

}  // namespace

// The block grows with what it holds, not to its bound: ten small generations under the default
// 256 MB take a few hundred bytes.
TEST(GenerationStore, GrowsWithItsGenerationsNotToItsBound) {
    GenerationStore store;
    for (int g = 0; g < 10; ++g) store.Add(GenerationOf(g));
    EXPECT_LE(store.Bytes(), 2u * 10 * 16 + 16);
}

// A bound of four generations, filled with ten. By hand: 0-3 fit; 4 thins to {0, 2} (every 2nd)
// and is kept; 6 fits; 8 thins to {0, 4} (every 4th) and is kept; 9 is the latest.
TEST(GenerationStore, ABoundReachedKeepsEvenlySpreadGenerationsAndTheLatest) {
    GenerationStore store(64);
    for (int g = 0; g < 10; ++g) store.Add(GenerationOf(g));
    EXPECT_EQ(store.Generations(), 10u);
    EXPECT_EQ(store.Stride(), 4u);
    EXPECT_LE(store.Bytes(), 64u + 16u);
    const struct {
        std::size_t asked;
        std::size_t shown;
    } cases[] = {{0, 0}, {1, 0}, {2, 0}, {3, 4}, {4, 4}, {6, 4}, {7, 8}, {8, 8}, {9, 9}, {50, 9}};
    for (const auto& c : cases) {
        EXPECT_EQ(store.NearestKept(c.asked), c.shown) << "generation " << c.asked;
        EXPECT_TRUE(SameList(store.Population(c.asked), GenerationOf(static_cast<int>(c.shown))))
            << "generation " << c.asked;
    }
}

TEST(GenerationStore, AGenerationLargerThanTheBoundIsOnlyKeptAsTheLatest) {
    GenerationStore store(8);
    EXPECT_FALSE(store.NearestKept(0).has_value());
    store.Add(GenerationOf(0));
    store.Add(GenerationOf(1));
    EXPECT_EQ(store.NearestKept(0), 1u);
    EXPECT_TRUE(SameList(store.Population(0), GenerationOf(1)));
}

// The populations a genetic run on its worker kept are those the same run, made synchronously
// from the same seed, had published when each generation ended.
TEST(GenerationStore, TheWorkerKeepsThePopulationOfEveryGenerationAsPublished) {
    AlgParameters p = DefaultProblem();
    p.PopSize = 12;
    p.Iterations = 30;
    p.GeneticSleep = 0;

    GeneticProgress progress;
    std::vector<SolutionList> published;
    RecordingRunControl control(5);
    control.afterPublish = [&](int) {
        if (progress.History.Count() > published.size()) published.push_back(*progress.Population);
    };
    RunGenetic(progress, p, control);
    ASSERT_EQ(published.size(), 30u);

    OptimizationThread::Options options;
    options.seed = 5;
    auto worker = OptimizationThread::Start(p, Genetic, options);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!worker->IsFinished() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(worker->IsFinished());
    const auto kept = worker->TakeGenerations();
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(worker->TakeGenerations(), nullptr);
    ASSERT_EQ(kept->Generations(), published.size());
    for (std::size_t g = 0; g < published.size(); ++g) {
        EXPECT_TRUE(SameList(kept->Population(g), published[g])) << "generation " << g;
    }
    EXPECT_EQ(OptimizationThread::Start(p, Greedy, options)->TakeGenerations(), nullptr);
}
