#include <gtest/gtest.h>

#include "app/runs/ReplayState.h"
#include "support/SolutionSupport.h"

using namespace quarmel;
using namespace quarmel::testing;

TEST(ReplayState, StepsStayWithinTheListAndTheFirstMoveEngages) {
    ReplayState replay;
    EXPECT_FALSE(replay.SetStep(0));  // nothing to replay
    replay.Begin(5);
    EXPECT_EQ(replay.Step(), 4u);
    EXPECT_FALSE(replay.Engaged());
    // Each: the move, whether it reports a change, the step after it.
    const struct {
        bool (ReplayState::*move)();
        bool changed;
        std::size_t step;
    } moves[] = {
        {&ReplayState::Next, true, 4},  // no step further, but the replay is now engaged
        {&ReplayState::Next, false, 4},  {&ReplayState::Previous, true, 3},
        {&ReplayState::First, true, 0},  {&ReplayState::Previous, false, 0},
        {&ReplayState::ToLast, true, 4},
    };
    for (const auto& m : moves) {
        EXPECT_EQ((replay.*m.move)(), m.changed);
        EXPECT_EQ(replay.Step(), m.step);
    }
    EXPECT_TRUE(replay.Engaged());
    EXPECT_EQ(ReplayStepText(replay), "Step 5 / 5");  // counted from 1
    replay.First();
    EXPECT_EQ(ReplayStepText(replay), "Step 1 / 5");
    EXPECT_TRUE(replay.SetStep(99));
    EXPECT_EQ(replay.Step(), 4u);
}

// 300 steps play in 15 s: 20 steps a second, one every 50 ms; parts of a step carry over.
TEST(ReplayState, PlayAdvancesAtItsPaceFromTheStartAndStopsAtTheEnd) {
    ReplayState replay;
    replay.Begin(300);
    replay.SetPlaying(true);
    EXPECT_EQ(replay.Step(), 0u);  // played from the last step: from the first again
    EXPECT_FALSE(replay.Advance(30));
    EXPECT_TRUE(replay.Advance(30));
    EXPECT_EQ(replay.Step(), 1u);
    EXPECT_TRUE(replay.Advance(1000));
    EXPECT_EQ(replay.Step(), 21u);
    EXPECT_TRUE(replay.Advance(60000));
    EXPECT_EQ(replay.Step(), 299u);
    EXPECT_FALSE(replay.Playing());
    EXPECT_FALSE(replay.Advance(1000));

    replay.Begin(10);  // a short run plays at the slowest pace, 4 steps a second
    replay.SetPlaying(true);
    replay.Advance(1000);
    EXPECT_EQ(replay.Step(), 4u);
}

// The path at step k is the run's first k + 1 solutions, however the steps went.
TEST(ReplayState, ThePathIsAlwaysTheRunsFirstSolutions) {
    SolutionList run;
    for (int i = 0; i < 8; ++i) run.Append(Make({float(i), float(-i)}, float(i * i)));
    SolutionList path;
    const struct {
        std::size_t count;
        ListChange change;
    } steps[] = {{3, ListChange::Grown},    {3, ListChange::None},   {8, ListChange::Grown},
                 {2, ListChange::Replaced}, {20, ListChange::Grown}, {0, ListChange::Replaced}};
    for (const auto& s : steps) {
        EXPECT_EQ(FollowPath(run, s.count, path), s.change);
        ASSERT_EQ(path.Count(), std::min<std::size_t>(s.count, run.Count()));
        EXPECT_TRUE(IsPrefix(path, run));
    }
}
