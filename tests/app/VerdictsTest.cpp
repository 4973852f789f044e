#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/stats/ErtBootstrap.h"
#include "app/stats/RankSum.h"
#include "app/stats/Verdicts.h"

namespace quarmel {
namespace {

const double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(Verdicts, HolmStepsDownKeepsOrderAndCapsAtOne) {
    // Sorted 0.005, 0.01, 0.03, 0.04 times 4, 3, 2, 1: 0.02, 0.03, 0.06, then 0.04 raised to 0.06.
    const std::vector<double> holm = HolmAdjusted({0.01, 0.04, 0.03, 0.005});
    const std::vector<double> want = {0.03, 0.06, 0.06, 0.02};
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(holm[i], want[i], 1e-15) << i;
    EXPECT_EQ(HolmAdjusted({0.5, 0.6}), (std::vector<double>{1.0, 1.0}));
}

TEST(Verdicts, MediansRankBetterFirstTiesShareTheBestRank) {
    using R = std::vector<std::optional<std::size_t>>;
    const std::vector<std::optional<double>> medians = {3, 1, 3, kNan, 0.5, std::nullopt};
    EXPECT_EQ(MedianRanks(medians, false), (R{3, 2, 3, 5, 1, std::nullopt}));
    EXPECT_EQ(MedianRanks(medians, true), (R{1, 3, 1, 5, 4, std::nullopt}));
}

TEST(Verdicts, ThePairsSayWhichIsBetterInTheProblemsDirection) {
    // Every value of a below every one of b: U of a is 0, and the exact p is 2 / C(10, 5).
    const std::vector<SeriesSample> apart = {{"a", {1, 2, 3, 4, 5}}, {"b", {6, 7, 8, 9, 10}}};
    std::vector<PairVerdict> v = ComparePairs(apart, false);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].Test->U, 0);
    EXPECT_NEAR(v[0].Test->P, 2.0 / 252, 1e-15);
    EXPECT_EQ(v[0].Better, 'a');
    // Maximising, a value that is not a number is the lowest: still all of a below b.
    v = ComparePairs({{"a", {NAN, 2, 3, 4, 5}}, {"b", {6, 7, 8, 9, 10}}}, true);
    EXPECT_EQ(v[0].Test->U, 0);
    EXPECT_EQ(v[0].Better, 'b');
    // Three series: three pairs, Holm over them; one without a value is not tested.
    v = ComparePairs({apart[0], apart[1], {"c", {}}}, false);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NEAR(*v[0].PHolm, 2.0 / 252, 1e-15);  // a family of one tested pair
    EXPECT_FALSE(v[1].Test.has_value());
    EXPECT_EQ(v[1].Better, 0);
    // Together: c has no rank and comes last; a beats b.
    const SeriesVerdicts judged = JudgeSeries({{"c", {}}, apart[1], apart[0]}, false);
    EXPECT_EQ(judged.Order, (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(judged.BetterThan, (std::vector<std::vector<std::size_t>>{{}, {}, {1}}));
    // All values equal: no difference at all.
    EXPECT_EQ(MannWhitney({1, 1}, {1, 1, 1})->P, 1.0);
}

TEST(Verdicts, TheErtIntervalRepeatsAndHoldsThePointErt) {
    // ERT (10 + 20 + 100 + 30 + 100 + 40) / 4 = 75.
    const std::vector<RunReach> runs = {{true, 10}, {true, 20},   {false, 100},
                                        {true, 30}, {false, 100}, {true, 40}};
    const std::optional<ErtInterval> band = BootstrapErt(runs);
    ASSERT_TRUE(band.has_value());
    EXPECT_LT(band->Low, 75);
    EXPECT_GT(band->High, 75);
    EXPECT_EQ(BootstrapErt(runs)->Low, band->Low);
    // Runs alike give no spread; with 1 run of 10 reaching, 0.9^10 of the draws reach nothing.
    EXPECT_EQ(BootstrapErt({{true, 7}, {true, 7}})->High, 7);
    std::vector<RunReach> rare(9, {false, 50});
    rare.push_back({true, 5});
    EXPECT_TRUE(std::isinf(BootstrapErt(rare)->High));
    EXPECT_FALSE(BootstrapErt({{false, 5}}).has_value());
}

}  // namespace
}  // namespace quarmel
