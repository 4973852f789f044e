#include <gtest/gtest.h>

#include <vector>

#include "SearchFixtures.h"
#include "algorithms/Greedy.h"
#include "model/Improvement.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

std::vector<float> Values(const SolutionList& list) {
    std::vector<float> v;
    for (const SolutionView s : list) v.push_back(s.Value);
    return v;
}

void ExpectStrictlyBetter(const SolutionList& list, bool maximize) {
    for (std::size_t i = 1; i < list.Count(); ++i)
        EXPECT_TRUE(Improves(list.FuncValue(i - 1), list.FuncValue(i), maximize)) << i;
}

}  // namespace

// f = x on [0, 10] with A 0.05: radius 0.5, steps (Rand % 500) * 0.001. From seed 1 the draws
// are 130 (start 1.30), then 10982, 1090, 11656, 7117, 17595, 6415, 22948, ...
TEST(GreedyTrace, MinimisingTakesTheFirstImprovementOfEachPass) {
    AlgParameters p = Params("x", {{"x", 0, 10}});
    SolutionList list;
    RecordingRunControl control(1, list);
    RunGreedy(p, list, control);
    // Mask 0 (down) improves in five passes by 0.482, 0.090, 0.156, 0.117 and 0.095. In the
    // sixth, 0.415 would leave the range (the value stays, no improvement) and mask 1 moves up
    // by 0.448: the search ends.
    float x = 1.30f;
    std::vector<float> expected = {x};
    for (int draw : {10982, 1090, 11656, 7117, 17595}) {
        x = x - Scaled(draw % 500, 3);
        expected.push_back(x);
    }
    EXPECT_EQ(Values(list), expected);
    EXPECT_EQ(p.Evaluations(), 1u + 5 + 2);
}

TEST(GreedyTrace, MaximisingMovesUpAfterTheDownwardMaskFails) {
    AlgParameters p = Params("x", {{"x", 0, 10}}, true);
    SolutionList list;
    RecordingRunControl control(1, list);
    RunGreedy(p, list, control);
    // Each pass: mask 0 draws a downward step (worse), mask 1 the upward step taken.
    ASSERT_GE(list.Count(), 5u);
    float x = 1.30f;
    EXPECT_EQ(list.FuncValue(0), x);
    const int ups[] = {1090, 7117, 6415, 31126};
    for (int i = 0; i < 4; ++i) {
        x = x + Scaled(ups[i] % 500, 3);
        EXPECT_EQ(list.FuncValue(i + 1), x) << i;
    }
    ExpectStrictlyBetter(list, true);
}

TEST(GreedyTrace, EveryStepStrictlyBetterInBothDirections) {
    for (bool maximize : {false, true}) {
        for (std::uint32_t seed : {1u, 2u, 3u, 99u}) {
            AlgParameters p = DefaultProblem();
            p.SetMaximize(maximize);
            SolutionList list;
            RecordingRunControl control(seed, list);
            RunGreedy(p, list, control);
            ASSERT_GE(list.Count(), 2u);
            EXPECT_FALSE(control.stop.load());  // ended by itself
            ExpectStrictlyBetter(list, maximize);
            for (const SolutionView s : list) {
                ASSERT_EQ(s.Values.size(), 3u);
                EXPECT_GE(s.Values[0], -50.0f);
                EXPECT_LE(s.Values[0], 50.0f);
                EXPECT_GE(s.Values[2], 1.0f);
                EXPECT_LE(s.Values[2], 15.0f);
            }
        }
    }
}

TEST(GreedyTrace, SameSeedGivesTheSameTrace) {
    AlgParameters p1 = DefaultProblem(), p2 = DefaultProblem();
    SolutionList a, b;
    RecordingRunControl c1(1234, a), c2(1234, b);
    RunGreedy(p1, a, c1);
    RunGreedy(p2, b, c2);
    ASSERT_EQ(a.Count(), b.Count());
    for (std::size_t i = 0; i < a.Count(); ++i) {
        EXPECT_EQ(a.At(i).Values, b.At(i).Values);
        EXPECT_EQ(a.FuncValue(i), b.FuncValue(i));
    }
    EXPECT_EQ(p1.Evaluations(), p2.Evaluations());
}

TEST(GreedyDelay, SleepsLocalSleepAfterEveryPublishedStepOnly) {
    AlgParameters p = DefaultProblem();
    p.LocalSleep = 200;
    p.GeneticSleep = 7;  // never used by a local search
    SolutionList list;
    RecordingRunControl control(5, list);
    RunGreedy(p, list, control);
    const long long steps = static_cast<long long>(list.Count()) - 1;
    EXPECT_EQ(control.sleeps, steps);
    EXPECT_EQ(control.sleptMs, steps * 200);
}

TEST(GreedyStop, StopDuringAPassEndsAfterTheNextPublishedStep) {
    AlgParameters p = Params("x", {{"x", 0, 10}});
    SolutionList list;
    RecordingRunControl control(1, list);
    control.onGate = [&](long long passes) {
        if (passes == 1) control.stop = true;  // while trying the first candidate
    };
    RunGreedy(p, list, control);
    ASSERT_EQ(list.Count(), 2u);  // the start point and the step that pass found
    EXPECT_EQ(list.FuncValue(1), 1.30f - Scaled(482, 3));
    EXPECT_EQ(control.sleeps, 1);
}

TEST(GreedyStop, StopAfterAPublishedStepEndsAtOnce) {
    AlgParameters p = DefaultProblem();
    SolutionList list;
    RecordingRunControl control(1, list);
    control.afterPublish = [&](int n) {
        if (n == 2 + 3) control.stop = true;  // the clear, the start point, three steps
    };
    RunGreedy(p, list, control);
    EXPECT_EQ(list.Count(), 4u);
}

TEST(GreedyStop, StopIsAlsoReadWithinALongPass) {
    // Seventeen variables make a pass of 131072 masks; a constant function never improves, so
    // only the reading every 65536 masks can end the pass early.
    AlgParameters p;
    for (int i = 0; i < 17; ++i) p.AddVariable("v" + std::to_string(i), -1, 1, 0);
    p.SetFunctionText("1");
    p.LocalSleep = 0;
    SolutionList list;
    RecordingRunControl control(3, list);
    control.onGate = [&](long long passes) {
        if (passes == 10) control.stop = true;
    };
    RunGreedy(p, list, control);
    EXPECT_EQ(control.gatePasses, 65536);
    EXPECT_EQ(list.Count(), 1u);
}

TEST(GreedyEdges, NoVariablesEndsAfterTheStartPoint) {
    AlgParameters p = Params("3", {});
    SolutionList list;
    RecordingRunControl control(1, list);
    RunGreedy(p, list, control);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.FuncValue(0), 3.0f);
    EXPECT_EQ(p.Evaluations(), 1u);
}

TEST(GreedyEdges, FormulaThatDoesNotCompileGivesAnEmptyList) {
    AlgParameters p = Params("x+", {{"x", 0, 1}});
    SolutionList list;
    RecordingRunControl control(1, list);
    RunGreedy(p, list, control);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(control.gatePasses, 0);
}

TEST(GreedyEdges, VariableWithoutRangeDoesNotHangTheRun) {
    AlgParameters p = Params("x+y", {{"x", 0, 10}, {"y", 3, 3}});
    SolutionList list;
    RecordingRunControl control(1, list);
    control.MaxMoves = 100000;
    RunGreedy(p, list, control);
    EXPECT_FALSE(control.stop.load());
    for (const SolutionView s : list) EXPECT_EQ(s.Values[1], 3.0f);
}
