#include <gtest/gtest.h>

#include "SearchFixtures.h"
#include "algorithms/Steepest.h"
#include "model/Improvement.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

// x and y on [0, 10] with A 0.05 (steps (Rand % 500) * 0.001); from seed 1 the start point is
// (1.30, 9.82). The function is 0 once x is below 1.29 and 1 otherwise, so every candidate that
// moves x down by at least 0.01 reaches the best value.
AlgParameters TieProblem() {
    return Params("if(x<1.29,0,1)", {{"x", 0, 10}, {"y", 0, 10}});
}

}  // namespace

TEST(SteepestPass, LowestMaskWinsAmongEqualBestValues) {
    AlgParameters p = TieProblem();
    SolutionList list;
    RecordingRunControl control(1, list);
    RunSteepest(p, list, control);
    // Draws after the start (130, 10982): mask 0 (x down, y down) 1090, 11656; mask 1 (x up,
    // y down) 7117, 17595; mask 2 (x down, y up) 6415, 22948; mask 3 (both up) 31126, 9004.
    // Masks 0 and 2 both reach 0; mask 0 is published. The next pass cannot beat 0 and ends.
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.FuncValue(0), 1.0f);
    EXPECT_EQ(list.VarValue(1, 0), 1.30f - Scaled(1090 % 500, 3));
    EXPECT_EQ(list.VarValue(1, 1), 9.82f - Scaled(11656 % 500, 3));
    EXPECT_EQ(list.FuncValue(1), 0.0f);
    EXPECT_EQ(p.Evaluations(), 1u + 4 + 4);  // two passes of 2^2 candidates
}

TEST(SteepestPass, EveryPassCostsAllMasksAndEveryStepIsStrictlyBetter) {
    for (bool maximize : {false, true}) {
        for (std::uint32_t seed : {1u, 7u, 42u}) {
            AlgParameters p = DefaultProblem();
            p.SetMaximize(maximize);
            SolutionList list;
            RecordingRunControl control(seed, list);
            RunSteepest(p, list, control);
            ASSERT_GE(list.Count(), 2u);
            for (std::size_t i = 1; i < list.Count(); ++i)
                EXPECT_TRUE(Improves(list.FuncValue(i - 1), list.FuncValue(i), maximize));
            // One pass per published step plus the last, which found nothing better.
            EXPECT_EQ(p.Evaluations(), 1u + 8u * list.Count());
        }
    }
}

TEST(SteepestPass, SameSeedGivesTheSameTrace) {
    AlgParameters p1 = DefaultProblem(), p2 = DefaultProblem();
    SolutionList a, b;
    RecordingRunControl c1(31, a), c2(31, b);
    RunSteepest(p1, a, c1);
    RunSteepest(p2, b, c2);
    ASSERT_EQ(a.Count(), b.Count());
    for (std::size_t i = 0; i < a.Count(); ++i) EXPECT_EQ(a.At(i).Values, b.At(i).Values);
}

TEST(SteepestStop, StopDuringAPassEndsAfterThatPassesStep) {
    AlgParameters p = TieProblem();
    p.LocalSleep = 50;
    SolutionList list;
    RecordingRunControl control(1, list);
    control.onGate = [&](long long passes) {
        if (passes == 1) control.stop = true;
    };
    RunSteepest(p, list, control);
    EXPECT_EQ(control.gatePasses, 4);  // the pass ran to its end
    ASSERT_EQ(list.Count(), 2u);       // and its step was published
    EXPECT_EQ(control.sleptMs, 50);
}

TEST(SteepestStop, StopEndsAPassThatFindsNothingWithinIt) {
    AlgParameters p;
    for (int i = 0; i < 17; ++i) p.AddVariable("v" + std::to_string(i), -1, 1, 0);
    p.SetFunctionText("1");
    SolutionList list;
    RecordingRunControl control(3, list);
    control.onGate = [&](long long passes) {
        if (passes == 100) control.stop = true;
    };
    RunSteepest(p, list, control);
    EXPECT_EQ(control.gatePasses, 65536);
    EXPECT_EQ(list.Count(), 1u);
}

TEST(SteepestEdges, NoVariablesOrNoFormula) {
    AlgParameters none = Params("2*3", {});
    SolutionList list;
    RecordingRunControl control(1, list);
    RunSteepest(none, list, control);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.FuncValue(0), 6.0f);

    AlgParameters broken = Params("sin(", {{"x", 0, 1}});
    RunSteepest(broken, list, control);
    EXPECT_EQ(list.Count(), 0u);
}
