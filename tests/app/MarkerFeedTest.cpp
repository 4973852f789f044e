#include "app/chartpage/MarkerFeed.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/SolutionSupport.h"

namespace quarmel {
namespace {

using testing::ListOf;
using testing::Make;

MarkerAxes TwoAxes() {
    return MarkerAxes{0, 1, -10, 10, -10, 10};
}

// What the model should hold: the markers of the whole list.
void ExpectWholeList(const ChartModel& model, const SolutionList& list, const MarkerAxes& axes) {
    EXPECT_EQ(model.SolutionPoints(), SolutionMarkers(list, axes));
}

TEST(MarkerFeed, AGrowingListEndsWithTheMarkersOfTheWholeList) {
    auto model = std::make_unique<ChartModel>();
    MarkerFeed feed;
    SolutionList list;
    feed.Update(list, TwoAxes(), *model);
    EXPECT_TRUE(model->SolutionPoints().empty());
    for (int tick = 0; tick < 4; ++tick) {
        // Two ticks' growth before the chart sees it, as on another page.
        for (int k = 0; k < 3; ++k) list.Append(Make({float(tick), float(k)}, float(tick + k)));
        feed.Note(ListChange::Grown);
        if (tick % 2 == 0) continue;
        feed.Update(list, TwoAxes(), *model);
        ExpectWholeList(*model, list, TwoAxes());
    }
    // Solutions appended without a note are still taken.
    list.Append(Make({5, 5}, 5));
    feed.Update(list, TwoAxes(), *model);
    ExpectWholeList(*model, list, TwoAxes());
}

TEST(MarkerFeed, AnotherListOrOtherAxesAreShownWhole) {
    auto model = std::make_unique<ChartModel>();
    MarkerFeed feed;
    SolutionList list = ListOf({Make({1, 2}, 3), Make({4, 5}, 6)});
    feed.Update(list, TwoAxes(), *model);

    // A new run's list as long as the old one.
    list = ListOf({Make({7, 8}, 9), Make({1, 1}, 1)});
    feed.Note(ListChange::Replaced);
    feed.Update(list, TwoAxes(), *model);
    ExpectWholeList(*model, list, TwoAxes());

    // A list read from a file, put in place without a poll.
    list = ListOf({Make({2, 2}, 2), Make({3, 3}, 3), Make({4, 4}, 4)});
    feed.Rebuild();
    feed.Update(list, TwoAxes(), *model);
    ExpectWholeList(*model, list, TwoAxes());

    // Other variables on the axes, then a narrower range that leaves only the X axis.
    MarkerAxes axes = TwoAxes();
    axes.XVariable = 1;
    feed.Update(list, axes, *model);
    ExpectWholeList(*model, list, axes);
    axes.DisplayYMin = axes.DisplayYMax = 0;
    feed.Update(list, axes, *model);
    ExpectWholeList(*model, list, axes);

    // A shorter list, whatever was noted.
    list = ListOf({Make({6, 6}, 6)});
    feed.Update(list, axes, *model);
    ExpectWholeList(*model, list, axes);
}

}  // namespace
}  // namespace quarmel
