#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

#include "model/Random.h"

using namespace quarmel;

namespace {

// True when x is a whole multiple of step (within float rounding of the scaled value).
bool OnGrid(float x, double step) {
    const double k = x / step;
    return std::fabs(k - std::round(k)) < 1e-3;
}

}  // namespace

TEST(Generator, SequenceFromSeedOne) {
    // Worked by hand from s := s * 22695477 + 1 (mod 2^32), result (s >> 16) & 0x7FFF, with the
    // first draw after seeding discarded.
    SeedRandom(1);
    EXPECT_EQ(Rand(), 130);
    EXPECT_EQ(Rand(), 10982);
    EXPECT_EQ(Rand(), 1090);
    EXPECT_EQ(Rand(), 11656);
    EXPECT_EQ(Rand(), 7117);
}

TEST(Generator, ReseedingRepeatsTheSequence) {
    SeedRandom(12345);
    std::vector<int> first;
    for (int i = 0; i < 5; ++i) first.push_back(Rand());
    SeedRandom(12345);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Rand(), first[i]);
}

TEST(Generator, RandomBelowUsesTheWholeStateAndMovesRand) {
    // After seeding with 1 the state is 22695478 with a zero high half; the 64-bit multiplier
    // has 346 in its high half and 20021 in its low half.
    SeedRandom(1);
    EXPECT_EQ(RandomBelow(100), 49);  // 1410184549 % 100
    EXPECT_EQ(RandomBelow(100), 4);   // 672584604 % 100
    EXPECT_EQ(RandomBelow(100), 86);  // 1915668986 % 100
    EXPECT_EQ(Rand(), 18542);         // continues from the low half RandomBelow left
}

TEST(Generator, RandomBelowZeroReturnsZeroAndStillDraws) {
    // The same sequence as above from seed 1: a call for 0 (or less) takes its draw like any
    // other, so the next call gets the value after it.
    SeedRandom(1);
    EXPECT_EQ(RandomBelow(0), 0);  // in place of 49
    EXPECT_EQ(RandomBelow(100), 4);
    EXPECT_EQ(RandomBelow(-5), 0);  // in place of 86
    EXPECT_EQ(Rand(), 18542);
    SeedRandom(3);
    for (int i = 0; i < 1000; ++i) {
        int r = RandomBelow(7);
        EXPECT_GE(r, 0);
        EXPECT_LT(r, 7);
    }
}

TEST(Generator, OtherThreadsDoNotDisturbThisThread) {
    SeedRandom(99);
    const int a = Rand();
    std::thread other([] {
        SeedRandom(5);
        for (int i = 0; i < 1000; ++i) Rand();
    });
    other.join();
    const int b = Rand();

    SeedRandom(99);
    EXPECT_EQ(Rand(), a);
    EXPECT_EQ(Rand(), b);
}

TEST(GridDrawTest, GridStepsFollowTheSpan) {
    struct Case {
        float span;
        double step;
    };
    for (Case c : {Case{1, 0.01}, Case{5, 0.01}, Case{0.5f, 0.001}, Case{10, 0.1}, Case{100, 1},
                   Case{1000, 1}}) {
        SeedRandom(7);
        bool sawNonZero = false;
        for (int i = 0; i < 500; ++i) {
            float r = GridDraw(c.span);
            ASSERT_GE(r, 0.0f) << c.span;
            ASSERT_LT(r, c.span) << c.span;
            ASSERT_TRUE(OnGrid(r, c.step)) << c.span << " " << r;
            sawNonZero |= r != 0.0f;
        }
        EXPECT_TRUE(sawNonZero) << c.span;
    }
}

TEST(GridDrawTest, SpanOneHundredGivesWholeNumbersBelowIt) {
    SeedRandom(11);
    int maxSeen = 0;
    for (int i = 0; i < 5000; ++i) {
        float r = GridDraw(100);
        ASSERT_EQ(r, std::trunc(r));
        maxSeen = std::max(maxSeen, static_cast<int>(r));
    }
    EXPECT_EQ(maxSeen, 99);
}

TEST(GridDrawTest, DrawMatchesTheRule) {
    // Span 0.5: t becomes 500 after three multiplications, so r = (Rand % 500) scaled by 0.1
    // three times, each product rounded to a float.
    SeedRandom(1);
    const float r = GridDraw(0.5f);
    float expected = static_cast<float>(130 % 500);
    for (int i = 0; i < 3; ++i) expected = static_cast<float>(double(expected) * 0.1);
    EXPECT_EQ(r, expected);
    EXPECT_EQ(Rand(), 10982);  // exactly one draw was made
}

TEST(GridDrawTest, HugeSpansDrawBelowTheGeneratorLimit) {
    SeedRandom(2);
    for (float span : {1e9f, 3e9f, 1e30f, std::numeric_limits<float>::max()}) {
        float r = GridDraw(span);
        EXPECT_GE(r, 0.0f);
        EXPECT_LT(r, 32768.0f);
    }
}

TEST(GridDrawTest, UnusableSpansGiveZeroWithoutDrawing) {
    for (float span : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity()}) {
        SeedRandom(1);
        EXPECT_EQ(GridDraw(span), 0.0f);
        EXPECT_EQ(Rand(), 130);  // the sequence did not move
    }
}

TEST(GridDrawTest, TinySpansEnd) {
    SeedRandom(4);
    float r = GridDraw(std::numeric_limits<float>::denorm_min());
    EXPECT_GE(r, 0.0f);
    EXPECT_LT(r, 1e-40f);
}

TEST(GridDrawTest, PreparedDrawsMatchTheRuleForEveryGridSize) {
    // Spans from 100 to past 32768 give every grid size the draw can have; each draw must be
    // Rand % m (taken from a second run of the same seed) scaled as the rule says.
    std::vector<float> spans;
    for (float s = 100.0f; s < 40000.0f; s += 1.0f) spans.push_back(s);
    for (float s : {0.5f, 0.0123f, 7.77f, 1e-6f}) spans.push_back(s);
    for (float span : spans) {
        const GridTable g = PrepareGrid(span);
        ASSERT_GE(g.m, 100u);
        ASSERT_LE(g.m, 32768u);
        SeedRandom(static_cast<std::uint32_t>(span * 7));
        float drawn[3];
        const GridTable three[3] = {g, g, g};
        GridDrawEach(three, 3, drawn);
        const int after = Rand();
        SeedRandom(static_cast<std::uint32_t>(span * 7));
        for (float d : drawn) {
            float expected = static_cast<float>(Rand() % static_cast<int>(g.m));
            for (int k = 0; k < g.e; ++k) expected = static_cast<float>(double(expected) * 0.1);
            ASSERT_EQ(d, expected) << span;
        }
        ASSERT_EQ(Rand(), after) << span;  // one draw each, no more
    }
}

TEST(GridDrawTest, ScaledPointsEqualTheRuleForEveryScalingCount) {
    // Spans from 999 down to the smallest float reach every scaling count; every point of each
    // grid must be the loop's value (bit for bit, subnormal results included).
    int deepest = 0;
    for (float span = 999.0f; span > 0.0f; span = span * 0.37f) {
        const GridTable g = PrepareGrid(span);
        if (g.e == 0) continue;
        ASSERT_NE(g.scaled, nullptr) << span;
        deepest = std::max(deepest, g.e);
        for (std::uint32_t k = 0; k < g.m; ++k) {
            float expected = static_cast<float>(k);
            for (int i = 0; i < g.e; ++i) expected = static_cast<float>(double(expected) * 0.1);
            ASSERT_EQ(std::memcmp(&g.scaled[k], &expected, sizeof expected), 0) << span << " " << k;
        }
    }
    EXPECT_GE(deepest, 46);
}
