#include "app/runs/RaceLanes.h"

#include <gtest/gtest.h>

using namespace quarmel;

namespace {

SolutionList Values(std::initializer_list<float> values) {
    SolutionList list;
    for (float v : values) list.Append(Solution{{0.0f}, v});
    return list;
}

}  // namespace

TEST(RaceLanes, BestSoFarFollowsTheDirectionAndOnlyNewSolutionsAreRead) {
    for (const bool maximize : {false, true}) {
        RaceLanes race;
        race.Start({Greedy, Genetic}, maximize);
        race.Update(0, Values({3, 1, 2}), false);
        EXPECT_EQ(*race.Lanes()[0].Best, maximize ? 3.0f : 1.0f);
        // The list grew by one; the earlier values are not read again (a changed one is ignored).
        race.Update(0, Values({0, 0, 0, 5}), false);
        EXPECT_EQ(*race.Lanes()[0].Best, maximize ? 5.0f : 1.0f);
        EXPECT_FALSE(race.Lanes()[1].Best);
        EXPECT_EQ(race.LegendLine(1), "genetic  -");
    }
}

TEST(RaceLanes, CountsTheLanesStillRunning) {
    RaceLanes race;
    EXPECT_FALSE(race.Running());
    race.Start({Greedy, Steepest, Genetic}, false);
    EXPECT_EQ(race.StatusText(), "Race: 3 of 3 running");
    race.Update(1, Values({-2.5f}), true);
    race.Update(7, Values({1}), true);  // no such lane
    EXPECT_EQ(race.StatusText(), "Race: 2 of 3 running");
    EXPECT_EQ(race.LegendLine(1), "steepest  -2.5");
    race.Clear();
    EXPECT_FALSE(race.Running());
    EXPECT_EQ(race.Lanes().size(), 3u);
}
