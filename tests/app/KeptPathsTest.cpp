#include "app/chartpage/KeptPaths.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quarmel
