#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "GeneticTestSupport.h"
#include "algorithms/GeneticOperators.h"
#include "model/Random.h"
#include "support/ValueOperators.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

using CrossoverFn = std::function<SolutionList(SolutionList, AlgParameters&)>;

const std::vector<std::pair<const char*, CrossoverFn>>& AllKinds() {
    static const std::vector<std::pair<const char*, CrossoverFn>> kinds = {
        {"one-point", OnePointCrossover},
        {"two-point", TwoPointCrossover},
        {"arithmetic", ArithmeticCrossover},
    };
    return kinds;
}

// Children of a pair: the values of A, then of B.
struct Pair {
    std::vector<float> a, b;
};

// Positions in [from, to) come from the second parent in child A (the first in child B).
Pair Exchange(const std::vector<float>& p, const std::vector<float>& s, std::size_t from,
              std::size_t to) {
    Pair c{p, s};
    for (std::size_t j = from; j < to; ++j) std::swap(c.a[j], c.b[j]);
    return c;
}

void ExpectChild(SolutionView child, const std::vector<float>& values) {
    EXPECT_EQ(Solution(child).Values, values);
    EXPECT_EQ(child.Value, WeightedValue(values)) << "children are evaluated";
}

}  // namespace

TEST(CrossoverFrame, ProbabilityZeroCopiesWithOneDrawPerSolution) {
    for (const auto& [name, crossover] : AllKinds()) {
        AlgParameters p;
        WeightedProblem(p, 4);
        p.COProbab = 0;
        const SolutionList population = Numbered(6, 4);
        SeedRandom(11);
        const SolutionList result = crossover(population, p);
        EXPECT_TRUE(DrewExactly(11, 6)) << name;
        EXPECT_TRUE(SameList(result, population)) << name;
        EXPECT_EQ(p.Evaluations(), 0u) << name;
    }
}

TEST(CrossoverFrame, ProbabilityHundredPairsEverySolutionButTheLast) {
    for (const auto& [name, crossover] : AllKinds()) {
        AlgParameters p;
        WeightedProblem(p, 2);
        p.COProbab = 100;
        // Even n: 0..2 take part, 2 finds no partner and is dropped, 3 is copied.
        const SolutionList even = Numbered(4, 2);
        const SolutionList fromEven = crossover(even, p);
        ASSERT_EQ(fromEven.Count(), 3u) << name;
        EXPECT_TRUE(SameSolution(fromEven.At(2), even.At(3))) << name;
        // Odd n: two pairs, the last copied; no loss.
        const SolutionList odd = Numbered(5, 2);
        const SolutionList fromOdd = crossover(odd, p);
        ASSERT_EQ(fromOdd.Count(), 5u) << name;
        EXPECT_TRUE(SameSolution(fromOdd.At(4), odd.At(4))) << name;
        EXPECT_EQ(p.Evaluations(), 2u + 4u) << name;
    }
}

TEST(CrossoverFrame, LoneAndEmptyPopulations) {
    for (const auto& [name, crossover] : AllKinds()) {
        AlgParameters p;
        WeightedProblem(p, 3);
        p.COProbab = 100;
        const SolutionList one = Numbered(1, 3);
        SeedRandom(2);
        const SolutionList result = crossover(one, p);
        EXPECT_TRUE(DrewExactly(2, 1)) << name << ": the last Solution still draws";
        EXPECT_TRUE(SameList(result, one)) << name;
        EXPECT_EQ(crossover(SolutionList(), p).Count(), 0u) << name;
        EXPECT_EQ(crossover(Numbered(3, 0), p).Count(), 0u) << name << ": no values";
    }
}

TEST(CrossoverFrame, ParticipantsFollowTheDrawsAgainstTheUnroundedProbability) {
    // A draw of 30 takes part at 30.5 %, not at 30 %.
    for (float probability : {30.0f, 30.5f}) {
        AlgParameters p;
        WeightedProblem(p, 2);
        p.COProbab = probability;
        p.COA = 0.25f;
        const int n = 60;
        const SolutionList population = Numbered(n, 2);

        SeedRandom(2024);
        std::vector<int> q;
        for (int i = 0; i < n; ++i) q.push_back(Rand() % 100);
        ASSERT_NE(std::find(q.begin(), q.end(), 30), q.end()) << "pick a seed that draws 30";

        SolutionList expected;
        int waiting = -1;
        for (int i = 0; i < n; ++i) {
            const bool takesPart = probability == 30.0f ? q[i] < 30 : q[i] <= 30;
            if (!takesPart || i == n - 1) {
                expected.Append(population.At(i));
            } else if (waiting < 0) {
                waiting = i;
            } else {
                const SolutionView f = population.At(waiting);
                const SolutionView s = population.At(i);
                Solution a, b;
                for (int j = 0; j < 2; ++j) {
                    a.Values.push_back(0.25f * f.Values[j] + 0.75f * s.Values[j]);
                    b.Values.push_back(0.25f * s.Values[j] + 0.75f * f.Values[j]);
                }
                a.Value = WeightedValue(a.Values);
                b.Value = WeightedValue(b.Values);
                expected.Append(a);
                expected.Append(b);
                waiting = -1;
            }
        }

        SeedRandom(2024);
        const SolutionList result = ArithmeticCrossover(population, p);
        EXPECT_TRUE(SameList(result, expected)) << probability;
        EXPECT_EQ(result.Count(), waiting < 0 ? std::size_t(n) : std::size_t(n - 1));
    }
}

TEST(OnePointCrossover, TwoValuesAlwaysCutAfterTheFirst) {
    AlgParameters p;
    WeightedProblem(p, 2);
    p.COProbab = 100;
    const SolutionList population = Numbered(3, 2);
    SeedRandom(8);
    const SolutionList result = OnePointCrossover(population, p);
    EXPECT_TRUE(DrewExactly(8, 3)) << "no draw for the cut";
    ASSERT_EQ(result.Count(), 3u);
    ExpectChild(result.At(0), {0, 101});
    ExpectChild(result.At(1), {100, 1});
}

TEST(OnePointCrossover, FourValuesDrawTheCutAfterTheSecondParent) {
    AlgParameters p;
    WeightedProblem(p, 4);
    p.COProbab = 100;
    const SolutionList population = Numbered(3, 4);
    std::set<int> cuts;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SeedRandom(seed);
        Rand();  // first parent's draw
        Rand();  // second parent's draw
        const int k = 1 + Rand() % 3;
        Rand();  // the last Solution's draw
        const int next = Rand();
        cuts.insert(k);
        const Pair c = Exchange(population.CopyAt(0).Values, population.CopyAt(1).Values, k, 4);

        SeedRandom(seed);
        const SolutionList result = OnePointCrossover(population, p);
        EXPECT_EQ(Rand(), next);
        ASSERT_EQ(result.Count(), 3u);
        ExpectChild(result.At(0), c.a);
        ExpectChild(result.At(1), c.b);
    }
    EXPECT_EQ(cuts, (std::set<int>{1, 2, 3}));
}

TEST(TwoPointCrossover, TwoValuesAlwaysExchangeTheSecond) {
    AlgParameters p;
    WeightedProblem(p, 2);
    p.COProbab = 100;
    const SolutionList population = Numbered(5, 2);
    SeedRandom(4);
    const SolutionList result = TwoPointCrossover(population, p);
    EXPECT_TRUE(DrewExactly(4, 5));
    ASSERT_EQ(result.Count(), 5u);
    ExpectChild(result.At(0), {0, 101});
    ExpectChild(result.At(1), {100, 1});
    ExpectChild(result.At(2), {200, 301});
    ExpectChild(result.At(3), {300, 201});
}

TEST(TwoPointCrossover, FourValuesExchangeBetweenTheCuts) {
    AlgParameters p;
    WeightedProblem(p, 4);
    p.COProbab = 100;
    const SolutionList population = Numbered(3, 4);
    std::set<std::pair<int, int>> cuts;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SeedRandom(seed);
        Rand();
        Rand();
        const int c1 = 1 + Rand() % 3;
        const int c2 = c1 + Rand() % (4 - c1);
        Rand();
        const int next = Rand();
        cuts.insert({c1, c2});
        const Pair c = Exchange(population.CopyAt(0).Values, population.CopyAt(1).Values, c1, c2);

        SeedRandom(seed);
        const SolutionList result = TwoPointCrossover(population, p);
        EXPECT_EQ(Rand(), next);
        ASSERT_EQ(result.Count(), 3u);
        ExpectChild(result.At(0), c.a);
        ExpectChild(result.At(1), c.b);
    }
    // Every cut pair with 1 <= c1 <= c2 <= 3 came up, equal cuts (children = parents) included.
    EXPECT_EQ(cuts.size(), 6u);
    EXPECT_EQ(cuts.count({2, 2}), 1u);
}

TEST(ArithmeticCrossover, MixesEveryPositionInSinglePrecision) {
    for (int d : {2, 4}) {
        AlgParameters p;
        WeightedProblem(p, d);
        p.COProbab = 100;
        p.COA = 0.6f;
        SolutionList population;
        Solution first, second;
        for (int j = 0; j < d; ++j) {
            first.Values.push_back(1.0f / 3.0f + j);
            second.Values.push_back(-7.1f * (j + 1));
        }
        population.Append(first);
        population.Append(second);
        population.Append(first);
        SeedRandom(1);
        const SolutionList result = ArithmeticCrossover(population, p);
        EXPECT_TRUE(DrewExactly(1, 3)) << "no draws besides the frame's";
        ASSERT_EQ(result.Count(), 3u);
        std::vector<float> a, b;
        for (int j = 0; j < d; ++j) {
            const float x = first.Values[j], y = second.Values[j];
            const float pa = 0.6f * x, sa = (1.0f - 0.6f) * y;
            const float pb = 0.6f * y, sb = (1.0f - 0.6f) * x;
            a.push_back(pa + sa);
            b.push_back(pb + sb);
        }
        ExpectChild(result.At(0), a);
        ExpectChild(result.At(1), b);
    }
}

TEST(CrossoverFrame, SingleValueGivesChildrenEqualToTheirParentsWithoutCutDraws) {
    // The loop never crosses one variable, but a direct call must not draw a cut from an empty
    // range (a remainder by zero).
    for (const auto& [name, crossover] : AllKinds()) {
        if (std::string(name) == "arithmetic") continue;
        AlgParameters p;
        WeightedProblem(p, 1);
        p.COProbab = 100;
        const SolutionList population = Numbered(3, 1);
        SeedRandom(13);
        const SolutionList result = crossover(population, p);
        EXPECT_TRUE(DrewExactly(13, 3)) << name;
        ASSERT_EQ(result.Count(), 3u) << name;
        ExpectChild(result.At(0), {0});
        ExpectChild(result.At(1), {100});
    }
}
