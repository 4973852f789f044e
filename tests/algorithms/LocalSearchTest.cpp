#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "SearchFixtures.h"
#include "algorithms/Greedy.h"
#include "algorithms/LocalSearch.h"
#include "algorithms/Steepest.h"
#include "model/Improvement.h"
#include "model/Random.h"
#include "support/ValueOperators.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

// Whether a start coordinate is Min plus a whole number of hundredths, built as the start rule
// builds it: the offset k * 0.01 rounded to a float, added to Min in double, narrowed.
bool OnStartGrid(float coord, float min) {
    const long k = std::lround((double(coord) - min) / 0.01);
    return k >= 0 && float(double(min) + double(float(k * 0.01))) == coord;
}

}  // namespace

// ---- Random start point ----

TEST(RandomStartPoint, DefaultProblemFromSeedOne) {
    // After seeding with 1 the draws are 130, 10982, 1090: grid sizes 10000, 8000 and 1400 give
    // offsets 1.30, 29.82 and 10.90 from the minima -50, -40 and 1.
    AlgParameters p = DefaultProblem();
    SolutionList list;
    RecordingRunControl control(1, list);
    ASSERT_TRUE(RandomStart(p, list, control));
    ASSERT_EQ(list.Count(), 1u);
    const double x = -50.0 + double(1.30f);
    const double y = -40.0 + double(29.82f);
    const double c = 1.0 + double(10.90f);
    EXPECT_EQ(list.VarValue(0, 0), float(x));
    EXPECT_EQ(list.VarValue(0, 1), float(y));
    EXPECT_EQ(list.VarValue(0, 2), float(c));
    // The value belongs to the double coordinates, narrowed once.
    EXPECT_EQ(list.FuncValue(0), float(x * x + (y - 2) * (y - 2) + 3 * c));
    EXPECT_EQ(p.Evaluations(), 1u);
}

TEST(RandomStartPoint, LiesOnTheHundredthGridFromMin) {
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        AlgParameters p = Params("x+y", {{"x", -50, 50}, {"y", 0, 1000}});
        SolutionList list;
        RecordingRunControl control(seed, list);
        ASSERT_TRUE(RandomStart(p, list, control));
        const float x = list.VarValue(0, 0);
        const float y = list.VarValue(0, 1);
        EXPECT_GE(x, -50.0f);
        EXPECT_LT(x, 50.0f);
        EXPECT_TRUE(OnStartGrid(x, -50)) << x;
        // Rand stays below 32768, so a wide range is only reached up to 327.67 above Min.
        EXPECT_GE(y, 0.0f);
        EXPECT_LE(y, 327.67f);
        EXPECT_TRUE(OnStartGrid(y, 0)) << y;
    }
}

TEST(RandomStartPoint, SameSeedSamePointAndClockByDefault) {
    AlgParameters p = DefaultProblem();
    SolutionList a, b;
    RecordingRunControl first(77), second(77);
    RandomStart(p, a, first);
    RandomStart(p, b, second);
    EXPECT_EQ(a.At(0).Values, b.At(0).Values);

    RecordingRunControl clock;
    const std::uint32_t before = ClockSeed();
    const std::uint32_t seed = clock.Seed();
    EXPECT_GE(seed, before);
    EXPECT_LE(seed, ClockSeed());
}

TEST(RandomStartPoint, FormulaThatDoesNotCompileLeavesTheListEmpty) {
    AlgParameters p = Params("x+*2", {{"x", 0, 1}});
    SolutionList list;
    list.Append(Solution{{0.5f}, 1.0f});  // left from an earlier run
    RecordingRunControl control(1);
    EXPECT_FALSE(RandomStart(p, list, control));
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(p.Evaluations(), 0u);
}

TEST(RandomStartPoint, EmptyOrReversedRangeStartsAtMinWithoutADraw) {
    AlgParameters p = Params("a+b+c", {{"a", 2, 2}, {"b", 5, 1}, {"c", 0, 10}});
    SolutionList list;
    RecordingRunControl control(1, list);
    ASSERT_TRUE(RandomStart(p, list, control));
    EXPECT_EQ(list.VarValue(0, 0), 2.0f);
    EXPECT_EQ(list.VarValue(0, 1), 5.0f);
    EXPECT_EQ(list.VarValue(0, 2), 1.30f);  // the first draw, 130, went to c
}

// ---- Neighbour move ----

TEST(NeighbourMove, StepsFollowTheGridOfTheRadius) {
    struct Case {
        float max;
        double step;   // grid of the steps
        float radius;  // steps lie below it
    };
    // Range 10 with A 0.05: radius 0.5, steps of 0.001 up to 0.499. Range 5000: radius 250,
    // whole steps up to 249. Range 1: radius 0.05, steps of 0.0001.
    for (Case k : {Case{10, 0.001, 0.5f}, Case{5000, 1, 250}, Case{1, 0.0001, 0.05f}}) {
        AlgParameters p = Params("x", {{"x", 0, k.max}});
        const float cur = k.max / 2;
        std::vector<double> cand;
        std::set<double> seen;
        SeedRandom(3);
        for (int i = 0; i < 3000; ++i) {
            MakeNeighbour(p, {cur}, 1, cand);
            const double step = double(float(cand[0]) - cur);
            ASSERT_GE(step, 0.0);
            ASSERT_LT(step, k.radius + 1e-6);
            ASSERT_TRUE(OnGrid(step, k.step)) << k.max << " " << step;
            seen.insert(step);
        }
        EXPECT_GT(seen.size(), 90u) << k.max;  // at least 100 values are possible
    }
}

TEST(NeighbourMove, DrawMatchesTheRule) {
    // Radius 0.5 makes the grid 500 wide with three scalings; seed 1 draws 130 and 10982.
    AlgParameters p = Params("x+y", {{"x", 0, 10}, {"y", 0, 10}});
    std::vector<double> cand;
    SeedRandom(1);
    MakeNeighbour(p, {5.0f, 5.0f}, 2, cand);  // mask 2: x down, y up
    ASSERT_EQ(cand.size(), 2u);
    EXPECT_EQ(cand[0], double(5.0f - Scaled(130 % 500, 3)));
    EXPECT_EQ(cand[1], double(5.0f + Scaled(10982 % 500, 3)));
    EXPECT_EQ(Rand(), 1090);  // exactly one draw per variable
}

TEST(NeighbourMove, MovesLeavingTheRangeLeaveTheVariableUnchanged) {
    AlgParameters p = Params("x+y", {{"x", 0, 10}, {"y", 0, 10}});
    std::vector<double> cand;
    SeedRandom(5);
    for (int i = 0; i < 500; ++i) {
        // x at its Max moving up, y at its Min moving down: both keep their values.
        MakeNeighbour(p, {10.0f, 0.0f}, 1, cand);
        ASSERT_EQ(cand[0], 10.0);
        ASSERT_EQ(cand[1], 0.0);
    }
    int kept = 0;
    for (int i = 0; i < 2000; ++i) {
        // Near the bound a step past it keeps the value instead of clamping to the bound.
        MakeNeighbour(p, {9.8f, 0.2f}, 1, cand);
        ASSERT_TRUE(cand[0] == double(9.8f) || (cand[0] > 9.8f && cand[0] <= 10.0)) << cand[0];
        ASSERT_TRUE(cand[1] == double(0.2f) || (cand[1] < 0.2f && cand[1] >= 0.0)) << cand[1];
        kept += cand[0] == double(9.8f);
    }
    EXPECT_GT(kept, 1000);  // steps of 0.2 or more (about 60 %) would leave the range
}

TEST(NeighbourMove, MaskBitSelectsEachVariablesDirection) {
    AlgParameters p = Params("x+y+z", {{"x", 0, 100}, {"y", 0, 100}, {"z", 0, 100}});
    std::vector<double> cand;
    SeedRandom(9);
    for (std::uint64_t mask = 0; mask < MaskCount(3); ++mask) {
        for (int i = 0; i < 50; ++i) {
            MakeNeighbour(p, {50, 50, 50}, mask, cand);
            for (int v = 0; v < 3; ++v) {
                if (mask & (1u << v))
                    ASSERT_GE(cand[v], 50.0);
                else
                    ASSERT_LE(cand[v], 50.0);
            }
        }
    }
}

TEST(NeighbourMove, EmptyRangeHasStepZeroAndDrawsNothing) {
    AlgParameters p = Params("a+b+c", {{"a", 3, 3}, {"b", 4, 2}, {"c", 0, 10}});
    std::vector<double> cand;
    SeedRandom(1);
    MakeNeighbour(p, {3, 4, 5}, 7, cand);
    EXPECT_EQ(cand[0], 3.0);
    EXPECT_EQ(cand[1], 4.0);
    EXPECT_EQ(cand[2], double(5.0f + Scaled(130 % 500, 3)));  // c had the first draw
}

TEST(NeighbourMove, MaskCountsAndBitsBeyondTheWord) {
    EXPECT_EQ(MaskCount(0), 1u);
    EXPECT_EQ(MaskCount(1), 2u);
    EXPECT_EQ(MaskCount(3), 8u);
    EXPECT_EQ(MaskCount(19), 524288u);
    EXPECT_EQ(MaskCount(64), UINT64_MAX);
    EXPECT_TRUE(MaskBit(std::uint64_t{1} << 63, 63));
    EXPECT_FALSE(MaskBit(UINT64_MAX, 64));
    EXPECT_FALSE(MaskBit(UINT64_MAX, 100));
}

// ---- Publishing a step ----

TEST(PublishingAStep, AppendsSleepsThenReadsStop) {
    AlgParameters p = Params("x+y", {{"x", 0, 1}, {"y", 0, 1}});
    p.LocalSleep = 200;
    SolutionList list;
    RecordingRunControl control(1, list);
    bool stopSeenBeforeSleep = false;
    control.afterSleep = [&](int) {
        stopSeenBeforeSleep = control.stopChecks > 0;
        control.stop = true;
    };
    const std::vector<double> cand = {0.1, 1.0 / 3.0};
    EXPECT_TRUE(PublishStep(p, list, cand, 2.5f, control));
    EXPECT_FALSE(stopSeenBeforeSleep);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.VarValue(0, 0), 0.1f);
    EXPECT_EQ(list.VarValue(0, 1), float(1.0 / 3.0));
    EXPECT_EQ(list.FuncValue(0), 2.5f);
    EXPECT_EQ(control.publishes, 1);
    EXPECT_EQ(control.sleeps, 1);
    EXPECT_EQ(control.sleptMs, 200);
}

// ---- Undefined values ----

// sin(exp(t)) is not a number above t = 709.78 (exp overflows). Both searches end by themselves
// in either direction, never step onto a not-a-number value and leave one they start on as soon
// as a neighbour is defined. The runs are capped, so a search that publishes for ever fails
// fast instead of eating memory.
TEST(UndefinedValues, GreedyAndSteepestEndByThemselvesAndNeverMoveOntoThem) {
    using Search = void (*)(AlgParameters&, SolutionList&, RunControl&);
    int leftUndefined = 0;
    for (Search search : {Search(RunGreedy), Search(RunSteepest)}) {
        for (bool maximize : {true, false}) {
            for (std::uint32_t seed = 1; seed <= 40; ++seed) {
                AlgParameters p = Params("sin(exp(t))", {{"t", 705, 712}}, maximize);
                SolutionList list;
                RecordingRunControl control(seed, list);
                control.MaxMoves = 200'000;
                search(p, list, control);
                ASSERT_FALSE(control.stop) << "seed " << seed << ", " << list.Count() << " steps";
                ASSERT_FALSE(list.Empty());
                if (std::isnan(list.FuncValue(0)) && list.Count() > 1) ++leftUndefined;
                for (std::size_t i = 1; i < list.Count(); ++i) {
                    ASSERT_FALSE(std::isnan(list.FuncValue(i))) << seed << " " << i;
                    ASSERT_TRUE(Improves(list.FuncValue(i - 1), list.FuncValue(i), maximize));
                }
            }
        }
    }
    EXPECT_GT(leftUndefined, 0);  // some runs start where the formula is undefined
}
