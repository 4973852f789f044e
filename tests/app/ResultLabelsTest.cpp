// The result labels followed tick by tick give the texts of a full scan of the list.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "app/text/ResultLabels.h"

using namespace quarmel;

TEST(ResultLabels, FollowingTheListTickByTickGivesWhatAFullScanGives) {
    std::mt19937 random(11);
    // Values on a coarse grid, so that equal values and not-a-number ones turn up, including
    // a not-a-number first value.
    auto value = [&] {
        const int k = static_cast<int>(random() % 40);
        return k == 0 ? std::numeric_limits<float>::quiet_NaN() : (k - 20) * 0.25f;
    };
    ResultLabels labels;
    SolutionList list;
    bool maximize = false;
    for (int tick = 0; tick < 400; ++tick) {
        ListChange change = ListChange::Grown;
        const unsigned event = random() % 40;
        if (event == 0) {  // another run's list, perhaps shorter
            list = SolutionList();
            change = ListChange::Replaced;
        } else if (event == 1) {  // the other direction, same list
            maximize = !maximize;
        } else if (event == 2) {  // a tick that finds nothing new
            change = ListChange::None;
        }
        if (change != ListChange::None) {
            for (unsigned k = random() % 6; k > 0; --k) {
                Solution s;
                s.Value = value();
                list.Append(std::move(s));
            }
        }
        labels.Note(change);
        if (random() % 3 == 0) continue;  // changes add up until the next update
        labels.Update(list, maximize);
        ASSERT_EQ(labels.InitialText(), InitialSolutionText(list)) << tick;
        ASSERT_EQ(labels.OptimalText(), OptimalSolutionText(list, maximize)) << tick;
    }
}
