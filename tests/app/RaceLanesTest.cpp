#include "app/runs/RaceLanes.h"

#include <gtest/gtest.h>

using namespace quarmel;

TEST(RaceLanes, BestSoFarFollowsTheDirectionAndTheStatusCountsRunningLanes) {
    for (const bool maximize : {false, true}) {
        SolutionList list;
        for (float v : {3.0f, -2.5f, 2.0f}) list.Append(Solution{{0.0f}, v});
        RaceLanes race;
        race.Start({Greedy, Steepest, Genetic}, maximize);
        race.Update(1, list, true);
        race.Update(7, list, true);  // no such lane
        EXPECT_EQ(race.LegendLine(1), maximize ? "steepest  3" : "steepest  -2.5");
        EXPECT_EQ(race.LegendLine(2), "genetic  -");
        EXPECT_EQ(race.StatusText(), "Race: 2 of 3 running");
        // Only what was published since is read: a changed earlier value is not looked at again.
        list.At(0).Value = maximize ? 9.0f : -9.0f;
        race.Update(1, list, true);
        EXPECT_EQ(race.LegendLine(1), maximize ? "steepest  3" : "steepest  -2.5");
        race.Clear();
        EXPECT_FALSE(race.Running());
    }
}
