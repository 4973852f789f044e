#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "GeneticTestSupport.h"
#include "algorithms/GeneticOperators.h"
#include "model/Random.h"
#include "support/ValueOperators.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

// Index of the Solution that a result entry copies (value 0 of Solution i is 100 i).
int SourceOf(SolutionView s) {
    return static_cast<int>(s.Values[0]) / 100;
}

// The roulette's index for a drawn k, found by walking a wheel built from the given shares.
int WalkWheel(const std::vector<float>& shares, int k) {
    const float r = static_cast<float>(k * 0.01);
    float c = 0;
    for (std::size_t i = 0; i < shares.size(); ++i) {
        c = i == 0 ? shares[0] : c + shares[i];
        if (c >= r) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

TEST(TournamentSelection, SizeZeroIsTheBetterOfTwoDraws) {
    const std::vector<float> values = {5, 3, 9, 1, 7, 2, 8};
    const SolutionList population = Numbered(7, 2, values);
    for (bool maximize : {false, true}) {
        SeedRandom(42);
        std::vector<int> expected;
        for (int t = 0; t < 7; ++t) {
            const int w = Rand() % 7;
            const int c = Rand() % 7;
            const bool cBetter = maximize ? values[c] > values[w] : values[c] < values[w];
            expected.push_back(cBetter ? c : w);
        }
        const int next = Rand();

        SeedRandom(42);
        const SolutionList result = TournamentSelection(population, 0, maximize);
        EXPECT_EQ(Rand(), next) << "two draws per tournament";
        ASSERT_EQ(result.Count(), 7u);
        for (int t = 0; t < 7; ++t) {
            // Whole copies, also where one Solution won several times.
            EXPECT_TRUE(SameSolution(result.At(t), population.At(expected[t])));
        }
    }
}

TEST(TournamentSelection, WinnerIsTheBestOfSizePlusTwoDraws) {
    std::vector<float> values;
    for (int i = 0; i < 30; ++i) values.push_back(static_cast<float>((i * 17) % 30));
    const SolutionList population = Numbered(30, 1, values);
    for (bool maximize : {false, true}) {
        SeedRandom(7);
        std::vector<int> expected;
        for (int t = 0; t < 30; ++t) {
            int best = -1;
            for (int j = 0; j < 7; ++j) {  // first draw and TournamentSize + 1 = 6 challengers
                const int c = Rand() % 30;
                if (best < 0 || (maximize ? values[c] > values[best] : values[c] < values[best]))
                    best = c;
            }
            expected.push_back(best);
        }
        const int next = Rand();

        SeedRandom(7);
        const SolutionList result = TournamentSelection(population, 5, maximize);
        EXPECT_EQ(Rand(), next);
        ASSERT_EQ(result.Count(), 30u);
        for (int t = 0; t < 30; ++t) EXPECT_EQ(SourceOf(result.At(t)), expected[t]);
    }
}

TEST(TournamentSelection, EqualValuesKeepTheFirstDraw) {
    const SolutionList population = Numbered(9, 1, std::vector<float>(9, 4.0f));
    for (bool maximize : {false, true}) {
        SeedRandom(99);
        std::vector<int> first;
        for (int t = 0; t < 9; ++t) {
            first.push_back(Rand() % 9);
            for (int j = 0; j < 4; ++j) Rand();
        }
        SeedRandom(99);
        const SolutionList result = TournamentSelection(population, 3, maximize);
        for (int t = 0; t < 9; ++t) EXPECT_EQ(SourceOf(result.At(t)), first[t]);
    }
}

TEST(TournamentSelection, NegativeSizeDrawsNoChallenger) {
    const SolutionList population = Numbered(5, 1, {3, 1, 4, 1, 5});
    SeedRandom(3);
    std::vector<int> draws;
    for (int t = 0; t < 5; ++t) draws.push_back(Rand() % 5);
    SeedRandom(3);
    const SolutionList result = TournamentSelection(population, -4, true);
    for (int t = 0; t < 5; ++t) EXPECT_EQ(SourceOf(result.At(t)), draws[t]);

    // Past 32768 Solutions only the first 32768 can be drawn.
    SolutionList large;
    for (int i = 0; i < 40000; ++i) large.Append(Solution{{float(i)}, 0});
    SeedRandom(4);
    const SolutionList fromLarge = TournamentSelection(large, -1, false);
    SeedRandom(4);
    for (std::size_t t = 0; t < fromLarge.Count(); ++t) {
        ASSERT_EQ(fromLarge.VarValue(t, 0), float(Rand())) << t;
    }
}

TEST(TournamentSelection, SmallAndEmptyPopulations) {
    SeedRandom(1);
    const SolutionList one = Numbered(1, 3, {2.5f});
    const SolutionList result = TournamentSelection(one, 5, false);
    ASSERT_EQ(result.Count(), 1u);
    EXPECT_TRUE(SameSolution(result.At(0), one.At(0)));
    EXPECT_EQ(TournamentSelection(SolutionList(), 5, true).Count(), 0u);
}

TEST(RouletteSelection, MaximisingWeighsTheDistanceFromTheSmallest) {
    // Fitness 0, 0, 1, 3 of a total of 4: the wheel is 0, 0, 0.25, 1.
    const SolutionList population = Numbered(4, 1, {0, 0, 1, 3});
    std::set<int> seen;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SeedRandom(seed);
        std::vector<int> expected;
        for (int t = 0; t < 4; ++t) {
            const int k = RandomBelow(100);
            expected.push_back(k == 0 ? 0 : k <= 25 ? 2 : 3);
        }
        SeedRandom(seed);
        const SolutionList result = RouletteSelection(population, true);
        ASSERT_EQ(result.Count(), 4u);
        for (int t = 0; t < 4; ++t) {
            EXPECT_EQ(SourceOf(result.At(t)), expected[t]) << "seed " << seed;
            seen.insert(expected[t]);
        }
    }
    // A draw of 0 picks Solution 0, the first of the two with a zero share; index 1 never wins.
    EXPECT_EQ(seen, (std::set<int>{0, 2, 3}));
}

TEST(RouletteSelection, MinimisingWeighsTheDistanceFromTheLargest) {
    // Fitness 3, 2, 0 of a total of 5: the wheel is 0.6, 1, 1; the largest value never wins.
    const SolutionList population = Numbered(3, 1, {0, 1, 3});
    std::set<int> seen;
    for (unsigned seed = 1; seed <= 100; ++seed) {
        SeedRandom(seed);
        std::vector<int> expected;
        for (int t = 0; t < 3; ++t) expected.push_back(RandomBelow(100) <= 60 ? 0 : 1);
        const int next = Rand();
        SeedRandom(seed);
        const SolutionList result = RouletteSelection(population, false);
        EXPECT_EQ(Rand(), next) << "one RandomBelow per pick";
        for (int t = 0; t < 3; ++t) {
            EXPECT_EQ(SourceOf(result.At(t)), expected[t]);
            seen.insert(expected[t]);
        }
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1}));
}

TEST(RouletteSelection, EqualValuesGiveTenthsSoOnlyTheFirstTenWin) {
    const SolutionList population = Numbered(20, 3, std::vector<float>(20, 7.0f));
    const std::vector<float> shares(20, 0.1f);
    std::set<int> seen;
    for (unsigned seed = 1; seed <= 50; ++seed) {
        SeedRandom(seed);
        std::vector<int> expected;
        for (int t = 0; t < 20; ++t) expected.push_back(WalkWheel(shares, RandomBelow(100)));
        SeedRandom(seed);
        const SolutionList result = RouletteSelection(population, seed % 2 == 0);
        for (int t = 0; t < 20; ++t) {
            const int source = SourceOf(result.At(t));
            EXPECT_EQ(source, expected[t]);
            EXPECT_TRUE(SameSolution(result.At(t), population.At(source)));
            EXPECT_LT(source, 10);
            seen.insert(source);
        }
    }
    EXPECT_EQ(seen.size(), 10u);
}

TEST(RouletteSelection, DrawBeyondAShortWheelTakesTheLast) {
    // Four equal values: the wheel ends near 0.4, so most draws find no slot.
    const SolutionList population = Numbered(4, 1, std::vector<float>(4, -2.0f));
    const std::vector<float> shares(4, 0.1f);
    int beyond = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SeedRandom(seed);
        std::vector<int> expected;
        for (int t = 0; t < 4; ++t) {
            const int i = WalkWheel(shares, RandomBelow(100));
            if (i < 0) ++beyond;
            expected.push_back(i < 0 ? 3 : i);
        }
        SeedRandom(seed);
        const SolutionList result = RouletteSelection(population, false);
        ASSERT_EQ(result.Count(), 4u);
        for (int t = 0; t < 4; ++t) EXPECT_EQ(SourceOf(result.At(t)), expected[t]);
    }
    EXPECT_GT(beyond, 0);
}

TEST(RouletteSelection, InfiniteValueSpoilsTheWheelAfterIt) {
    // Maximising 1, inf, 2: fitness 0, inf, 1, total inf; shares 0, NaN, 0. Only a draw of 0
    // finds a slot (Solution 0); every other draw falls beyond the wheel to the last Solution.
    const float inf = std::numeric_limits<float>::infinity();
    const SolutionList population = Numbered(3, 1, {1, inf, 2});
    bool sawZero = false;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        SeedRandom(seed);
        std::vector<int> expected;
        for (int t = 0; t < 3; ++t) {
            const int k = RandomBelow(100);
            sawZero |= k == 0;
            expected.push_back(k == 0 ? 0 : 2);
        }
        SeedRandom(seed);
        const SolutionList result = RouletteSelection(population, true);
        for (int t = 0; t < 3; ++t) EXPECT_EQ(SourceOf(result.At(t)), expected[t]);
    }
    EXPECT_TRUE(sawZero);
}

TEST(RouletteSelection, NotANumberMakesEveryShareATenth) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const SolutionList population = Numbered(12, 1, {1, 5, nan, 2, 8, 3, 0, 4, 6, 9, 7, 11});
    const std::vector<float> shares(12, 0.1f);
    for (bool maximize : {false, true}) {
        SeedRandom(5);
        std::vector<int> expected;
        for (int t = 0; t < 12; ++t) expected.push_back(WalkWheel(shares, RandomBelow(100)));
        SeedRandom(5);
        const SolutionList result = RouletteSelection(population, maximize);
        for (int t = 0; t < 12; ++t) EXPECT_EQ(SourceOf(result.At(t)), expected[t]);
    }
}

TEST(KeepBetter, OnlyAStrictlyBetterCandidateReplaces) {
    const Solution best{{1, 1}, 5};
    const Solution equal{{2, 2}, 5};
    const Solution higher{{3, 3}, 6};
    const Solution lower{{4, 4}, 4};
    EXPECT_EQ(KeepBetter(best, equal, false).Values, best.Values);
    EXPECT_EQ(KeepBetter(best, equal, true).Values, best.Values);
    EXPECT_EQ(KeepBetter(best, lower, false).Values, lower.Values);
    EXPECT_EQ(KeepBetter(best, higher, false).Values, best.Values);
    EXPECT_EQ(KeepBetter(best, higher, true).Values, higher.Values);
    EXPECT_EQ(KeepBetter(best, lower, true).Values, best.Values);
    EXPECT_EQ(KeepBetter(best, higher, true).Value, 6.0f);
}

TEST(KeepBetter, NotANumberNeverDisplacesANumberAndAnyNumberDisplacesIt) {
    const Solution best{{1}, 5};
    const Solution nan{{2}, std::numeric_limits<float>::quiet_NaN()};
    for (bool maximize : {true, false}) {
        EXPECT_EQ(KeepBetter(best, nan, maximize).Values, best.Values);
        EXPECT_EQ(KeepBetter(nan, best, maximize).Values, best.Values);
    }
}
