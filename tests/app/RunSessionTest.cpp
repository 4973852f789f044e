#include "app/runs/RunSession.h"

#include <gtest/gtest.h>

using namespace quarmel;

namespace {

// A session on a clock the test moves by hand.
struct ClockedSession {
    double now = 100;
    RunSession session{[this] { return now; }};
};

}  // namespace

TEST(RunSession, StatesFollowTheWindowsCommands) {
    enum Step { Start, Pause, Resume, Stop, EndFinished, EndStopped };
    struct Case {
        std::vector<Step> steps;
        RunState state;
    };
    const Case cases[] = {
        {{}, RunState::Idle},
        // Pausing and resuming without a run changes nothing.
        {{Pause}, RunState::Idle},
        {{Stop, EndStopped}, RunState::Idle},
        {{Start}, RunState::Running},
        {{Start, Pause}, RunState::Paused},
        {{Start, Pause, Resume}, RunState::Running},
        {{Start, Stop}, RunState::Stopping},
        {{Start, Pause, Stop}, RunState::Stopping},
        {{Start, Stop, EndStopped}, RunState::Stopped},
        {{Start, EndFinished}, RunState::Finished},
        // An ended run stays ended; pausing it does nothing.
        {{Start, EndFinished, Pause}, RunState::Finished},
        {{Start, EndFinished, Start}, RunState::Running},
    };
    for (const Case& c : cases) {
        RunSession s([] { return 0.0; });
        for (Step step : c.steps) {
            switch (step) {
                case Start:
                    s.Start(7);
                    break;
                case Pause:
                    s.SetPaused(true);
                    break;
                case Resume:
                    s.SetPaused(false);
                    break;
                case Stop:
                    s.RequestStop();
                    break;
                case EndFinished:
                    s.Ended(true);
                    break;
                case EndStopped:
                    s.Ended(false);
                    break;
            }
        }
        EXPECT_EQ(s.State(), c.state) << c.steps.size();
        EXPECT_EQ(s.Paused(), c.state == RunState::Paused);
        EXPECT_EQ(s.Active(), c.state == RunState::Running || c.state == RunState::Paused ||
                                  c.state == RunState::Stopping);
    }
}

TEST(RunSession, ElapsedTimeLeavesOutPausesAndStopsAtTheEnd) {
    ClockedSession c;
    EXPECT_EQ(c.session.ElapsedSeconds(), 0);
    c.session.Start(42);
    c.now += 2;
    EXPECT_DOUBLE_EQ(c.session.ElapsedSeconds(), 2);
    c.session.SetPaused(true);
    c.now += 10;  // paused: the time stands
    EXPECT_DOUBLE_EQ(c.session.ElapsedSeconds(), 2);
    c.session.SetPaused(false);
    c.now += 1;
    EXPECT_DOUBLE_EQ(c.session.ElapsedSeconds(), 3);
    // Stopped while paused: the pause up to the stop does not count either.
    c.session.SetPaused(true);
    c.now += 5;
    c.session.RequestStop();
    c.session.Ended(false);
    c.now += 100;
    EXPECT_DOUBLE_EQ(c.session.ElapsedSeconds(), 3);
    EXPECT_EQ(c.session.Seed(), 42u);
    // The next run counts from its own start.
    c.session.Start(43);
    c.now += 0.5;
    EXPECT_DOUBLE_EQ(c.session.ElapsedSeconds(), 0.5);
}

TEST(RunSession, AStartWantsTheResultsAndCountsItsOwnSolutions) {
    ClockedSession c;
    c.session.SetResultsIgnored(true);
    c.session.SetPublished(9);
    c.session.Start(1);
    EXPECT_FALSE(c.session.ResultsIgnored());
    EXPECT_TRUE(c.session.Unsaved());
    EXPECT_EQ(c.session.Published(), 0u);
}
