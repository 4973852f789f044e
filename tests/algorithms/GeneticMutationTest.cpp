#include <gtest/gtest.h>

#include <vector>

#include "GeneticTestSupport.h"
#include "algorithms/GeneticOperators.h"
#include "model/Random.h"
#include "support/ValueOperators.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

// A population of one value per Solution, with a function value no evaluation gives, so a
// mutated Solution shows by its new value.
SolutionList OneValueEach(const std::vector<float>& xs) {
    SolutionList list;
    for (float x : xs) list.Append(Solution{{x}, -12345.0f});
    return list;
}

}  // namespace

TEST(Mutate, ProbabilityZeroCopiesWithOneDrawPerSolution) {
    AlgParameters p;
    WeightedProblem(p, 3, -10000, 10000);
    p.MProbab = 0;
    const SolutionList population = Numbered(8, 3);
    SeedRandom(6);
    const SolutionList result = Mutate(population, p);
    EXPECT_TRUE(DrewExactly(6, 8));
    EXPECT_TRUE(SameList(result, population));
    EXPECT_EQ(p.Evaluations(), 0u);
}

TEST(Mutate, ProbabilityHundredMovesOneDrawnValueOfEverySolution) {
    AlgParameters p;
    WeightedProblem(p, 4, -10000, 10000);
    p.MProbab = 100;
    p.MutA = 0.01f;
    const SolutionList population = Numbered(40, 4);

    // The step rule: a = range * MutA, a step s in [0, 2a); up by s/2 when s >= a, else down s.
    const float a = 20000.0f * 0.01f;
    SeedRandom(77);
    std::vector<int> positions;
    std::vector<float> moved;
    for (int i = 0; i < 40; ++i) {
        EXPECT_LT(Rand() % 100, 100);
        const int pos = Rand() % 4;
        const float s = GridDraw(2.0f * a);
        const float x = population.VarValue(i, pos);
        positions.push_back(pos);
        moved.push_back(s >= a ? x + s * 0.5f : x - s);
    }

    SeedRandom(77);
    const SolutionList result = Mutate(population, p);
    ASSERT_EQ(result.Count(), 40u);
    EXPECT_EQ(p.Evaluations(), 40u);
    for (int i = 0; i < 40; ++i) {
        for (int j = 0; j < 4; ++j) {
            const float want = j == positions[i] ? moved[i] : population.VarValue(i, j);
            EXPECT_EQ(result.VarValue(i, j), want) << "solution " << i << " value " << j;
        }
        EXPECT_EQ(result.FuncValue(i), WeightedValue(Solution(result.At(i)).Values));
    }
}

TEST(Mutate, ProbabilityCountsInWholePercent) {
    AlgParameters p;
    WeightedProblem(p, 1, 0, 100);
    p.MProbab = 40.9f;  // acts as 40: a draw of 40 does not mutate
    p.MutA = 0.05f;
    std::vector<float> xs;
    for (int i = 0; i < 300; ++i) xs.push_back(static_cast<float>(i % 100));
    const SolutionList population = OneValueEach(xs);

    SeedRandom(31);
    std::vector<bool> mutates;
    bool sawForty = false;
    for (int i = 0; i < 300; ++i) {
        const int q = Rand() % 100;
        sawForty |= q == 40;
        mutates.push_back(q < 40);
        if (q < 40) {
            Rand();           // position
            GridDraw(10.0f);  // step over twice the range fraction of 100
        }
    }
    ASSERT_TRUE(sawForty);

    SeedRandom(31);
    const SolutionList result = Mutate(population, p);
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(result.FuncValue(i) != -12345.0f, bool(mutates[i])) << i;
    }
}

TEST(Mutate, StepsReflectAtBothBounds) {
    AlgParameters p;
    WeightedProblem(p, 1, 0, 10);
    p.MProbab = 100;
    p.MutA = 0.1f;  // a = 1, steps drawn in [0, 2) on a grid of 0.01
    int reflectedAtMax = 0, reflectedAtMin = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SeedRandom(seed);
        Rand();  // q
        Rand();  // position
        const float s1 = GridDraw(2.0f);
        Rand();
        Rand();
        const float s2 = GridDraw(2.0f);

        SeedRandom(seed);
        const SolutionList result = Mutate(OneValueEach({10.0f, 0.0f}), p);
        // At the maximum an upward move of s/2 comes back below it by as much.
        if (s1 >= 1.0f) {
            ++reflectedAtMax;
            EXPECT_NEAR(result.VarValue(0, 0), 10.0f - s1 / 2, 1e-5);
        } else {
            EXPECT_NEAR(result.VarValue(0, 0), 10.0f - s1, 1e-5);
        }
        // At the minimum a downward move of s comes back above it by as much.
        if (s2 >= 1.0f) {
            EXPECT_NEAR(result.VarValue(1, 0), s2 / 2, 1e-5);
        } else {
            if (s2 > 0) ++reflectedAtMin;
            EXPECT_NEAR(result.VarValue(1, 0), s2, 1e-5);
        }
        for (int i = 0; i < 2; ++i) {
            EXPECT_GE(result.VarValue(i, 0), 0.0f);
            EXPECT_LE(result.VarValue(i, 0), 10.0f);
        }
    }
    EXPECT_GT(reflectedAtMax, 0);
    EXPECT_GT(reflectedAtMin, 0);
}

TEST(Mutate, RangesWithoutRoomLeaveTheValueAndEnd) {
    struct Case {
        float lo, hi, mutA, x;
    };
    const Case cases[] = {
        {5, 5, 0.01f, 5},   // no width
        {5, 1, 0.01f, 1},   // maximum below minimum
        {5, 1, -0.5f, 1},   // both negative: the product is positive but there is no range
        {0, 10, 0.0f, 3},   // no range fraction
        {0, 10, -0.2f, 3},  // negative range fraction
    };
    for (const Case& c : cases) {
        AlgParameters p;
        WeightedProblem(p, 1, c.lo, c.hi);
        p.MProbab = 100;
        p.MutA = c.mutA;
        SeedRandom(9);
        const SolutionList result = Mutate(OneValueEach({c.x, c.x, c.x}), p);
        EXPECT_TRUE(DrewExactly(9, 6)) << "nothing drawn for the step";
        ASSERT_EQ(result.Count(), 3u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(result.VarValue(i, 0), c.x);
            EXPECT_EQ(result.FuncValue(i), c.x) << "still evaluated";
        }
    }
}

TEST(Mutate, RangeFractionAboveOneStaysWithinTheBounds) {
    AlgParameters p;
    WeightedProblem(p, 1, -1, 1);
    p.MProbab = 100;
    p.MutA = 5;
    std::vector<float> xs;
    for (int i = 0; i <= 200; ++i) xs.push_back(-1.0f + i * 0.01f);
    SeedRandom(12);
    const SolutionList result = Mutate(OneValueEach(xs), p);
    for (std::size_t i = 0; i < result.Count(); ++i) {
        EXPECT_GE(result.VarValue(i, 0), -1.0f);
        EXPECT_LE(result.VarValue(i, 0), 1.0f);
    }
}

TEST(Mutate, EmptyPopulationOrNoValues) {
    AlgParameters p;
    WeightedProblem(p, 2);
    p.MProbab = 100;
    EXPECT_EQ(Mutate(SolutionList(), p).Count(), 0u);
    EXPECT_EQ(Mutate(Numbered(4, 0), p).Count(), 0u);
}
