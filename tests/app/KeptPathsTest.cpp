#include "app/chartpage/KeptPaths.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/SolutionSupport.h"

namespace quarmel {
namespace {

using testing::ListOf;
using testing::Make;

std::shared_ptr<const SolutionList> PathOf(std::initializer_list<Solution> items) {
    return std::make_shared<const SolutionList>(ListOf(items));
}

// Only finished runs the plot draws come back, in order, each in its colour, their solutions
// placed on the chosen axes: (X variable, Y variable, value), or (X variable, value) without Y.
TEST(KeptPaths, TheDrawnFinishedRunsGiveTheirPathsInTheirColours) {
    const std::vector<KeptPath> runs = {
        {PathOf({Make({1, 2, 3}, 10), Make({4, 5, 6}, 20)}), {255, 0, 0}, false, false},
        {PathOf({Make({7, 8, 9}, 30)}), {0, 255, 0}, true, false},  // hidden
        {PathOf({Make({7, 8, 9}, 40)}), {0, 0, 255}, false, true},  // another problem
        {PathOf({}), {1, 1, 1}, false, false},                      // nothing published
        {nullptr, {2, 2, 2}, false, false},                         // still going on
        {PathOf({Make({0, -1, -2}, 50)}), {9, 8, 7}, false, false},
    };
    const MarkerAxes swapped{2, 0, -10, 10, -10, 10};
    const std::vector<ColouredPath> paths = KeptPathMarkers(runs, swapped);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0].Colour, (std::array<std::uint8_t, 3>{255, 0, 0}));
    EXPECT_EQ(paths[0].Points, (std::vector<float>{3, 1, 10, 6, 4, 20}));
    EXPECT_EQ(paths[1].Colour, (std::array<std::uint8_t, 3>{9, 8, 7}));
    EXPECT_EQ(paths[1].Points, (std::vector<float>{-2, 0, 50}));

    const MarkerAxes xOnly{1, 0, -10, 10, 0, 0};
    EXPECT_EQ(KeptPathMarkers(runs, xOnly)[0].Points, (std::vector<float>{2, 10, 5, 20}));
}

// A race's lanes grow tick by tick: the paths fed by appending, and the scene points worked out
// between the ticks, equal those built whole; other axes, or another list of the same length in
// a lane's place, give the paths whole again.
TEST(KeptPaths, AFeedOfGrowingListsEqualsThePathsBuiltWhole) {
    auto lane = std::make_shared<SolutionList>();
    auto other = std::make_shared<SolutionList>();
    std::vector<KeptPath> runs = {{lane, {255, 0, 0}, false, false},
                                  {other, {0, 0, 255}, false, false}};
    auto model = std::make_unique<ChartModel>();
    model->SetSurface(-10, 10, -10, 10, 0, 100, {});
    const auto flat = [](const std::vector<ScenePoint>& points) {
        std::vector<float> xyz;
        for (const ScenePoint& p : points) xyz.insert(xyz.end(), {p.X, p.Y, p.Z});
        return xyz;
    };
    const auto expectWhole = [&](const MarkerAxes& axes) {
        const std::vector<ColouredPath> whole = KeptPathMarkers(runs, axes);
        ASSERT_EQ(model->KeptPaths(), whole);
        for (std::size_t i = 0; i < whole.size(); ++i) {
            EXPECT_EQ(flat(model->KeptScene(i, false)),
                      flat(model->ScenePoints(whole[i].Points, false)))
                << i;
        }
    };
    KeptPathFeed feed;
    const MarkerAxes axes{0, 1, -10, 10, -10, 10};
    for (int tick = 0; tick < 4; ++tick) {
        for (int k = 0; k <= tick; ++k) {
            lane->Append(Make({float(tick), float(k), 1}, float(10 * tick + k)));
        }
        if (tick % 2 == 1) other->Append(Make({-1, -2, float(tick)}, float(tick)));
        EXPECT_TRUE(feed.Update(runs, axes, *model)) << tick;
        expectWhole(axes);
    }
    EXPECT_FALSE(feed.Update(runs, axes, *model));

    const MarkerAxes swapped{1, 0, -5, 5, -5, 5};
    EXPECT_TRUE(feed.Update(runs, swapped, *model));
    expectWhole(swapped);

    auto replaced = std::make_shared<SolutionList>(*lane);
    for (std::size_t i = 0; i < replaced->Count(); ++i) replaced->At(i).Value = -1;
    runs[0].Solutions = replaced;
    EXPECT_TRUE(feed.Update(runs, swapped, *model));
    expectWhole(swapped);
}

}  // namespace
}  // namespace quarmel
