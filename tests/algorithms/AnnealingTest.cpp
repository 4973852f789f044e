#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "SearchFixtures.h"
#include "algorithms/Annealing.h"
#include "model/Improvement.h"
#include "model/Random.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

// A constant function over two variables: every candidate equals the current value. A stage is
// 2^2 * Lk = 32 moves with the start values.
AlgParameters Flat(float stop, float alfa) {
    AlgParameters p = Params("5", {{"x", 0, 10}, {"y", 0, 10}});
    p.Stop = stop;
    p.Alfa = alfa;
    return p;
}

}  // namespace

// ---- Acceptance of a move that does not improve ----

TEST(AnnealingAcceptance, ProbabilityAgainstTheDrawnThreshold) {
    // Seed 1 draws 130 and 10982: thresholds 0.30 and 0.82. At T = 100 a move 0.01 worse has
    // p = exp(-0.01 / 100 * 10000) = exp(-1) = 0.37: above the first, below the second.
    SeedRandom(1);
    EXPECT_TRUE(AcceptsWorse(1.0f, 1.01f, false, 100));
    EXPECT_FALSE(AcceptsWorse(1.0f, 1.01f, false, 100));
    SeedRandom(1);
    EXPECT_TRUE(AcceptsWorse(1.0f, 0.99f, true, 100));  // maximising: d = v - c
    EXPECT_FALSE(AcceptsWorse(1.0f, 0.99f, true, 100));
    // Far worse moves are never taken; an equal one always is (p = 1, q at most 0.99).
    SeedRandom(1);
    EXPECT_FALSE(AcceptsWorse(1.0f, 2.0f, false, 100));
    for (int i = 0; i < 200; ++i) EXPECT_TRUE(AcceptsWorse(3.0f, 3.0f, false, 100));
}

TEST(AnnealingAcceptance, TemperatureZeroTakesEqualValuesOnlyAndStillDraws) {
    SeedRandom(1);
    EXPECT_TRUE(AcceptsWorse(2.0f, 2.0f, false, 0.0));
    EXPECT_FALSE(AcceptsWorse(2.0f, 2.0001f, false, 0.0));
    EXPECT_FALSE(AcceptsWorse(2.0f, 1.9999f, true, 0.0));
    EXPECT_EQ(Rand(), 11656);  // three thresholds were drawn: 130, 10982, 1090
}

TEST(AnnealingAcceptance, NotANumberIsNeverAccepted) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    SeedRandom(4);
    for (double t : {0.0, 1.0, 100.0}) {
        EXPECT_FALSE(AcceptsWorse(1.0f, nan, false, t));
        EXPECT_FALSE(AcceptsWorse(nan, 1.0f, true, t));
    }
}

// ---- Phases and how a run ends ----

TEST(AnnealingPhases, LkZeroMakesOneMoveAndEnds) {
    AlgParameters p = DefaultProblem();
    p.Lk = 0;
    SolutionList list;
    RecordingRunControl control(1, list);
    RunAnnealing(p, list, control);
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(p.Evaluations(), 2u);
}

TEST(AnnealingPhases, AlfaZeroEndsAfterTheFirstCoolingStage) {
    // Every move of the heating stage is accepted (equal values): ratio 100 ends the heating.
    // Stop 0 keeps the flatness from ending the cooling stage early.
    AlgParameters p = Flat(0.0f, 0.0f);
    SolutionList list;
    RecordingRunControl control(1, list);
    RunAnnealing(p, list, control);
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(p.Evaluations(), 1u + 32 + 32);
}

TEST(AnnealingPhases, PercentAcHundredEndsHeatingAtFullAcceptance) {
    AlgParameters p = Flat(0.0f, 0.0f);
    p.PercentAc = 100;
    SolutionList list;
    RecordingRunControl control(1, list);
    RunAnnealing(p, list, control);
    EXPECT_FALSE(control.stop.load());
    EXPECT_EQ(p.Evaluations(), 1u + 32 + 32);
}

TEST(AnnealingPhases, TemperatureZeroAcceptsEqualValuesWithoutDividingByZero) {
    AlgParameters p = Flat(0.0f, 0.0f);
    p.Temp0 = 0;
    p.TempPlus = 0;
    SolutionList list;
    RecordingRunControl control(1, list);
    RunAnnealing(p, list, control);
    EXPECT_FALSE(control.stop.load());
    EXPECT_EQ(p.Evaluations(), 1u + 32 + 32);
}

TEST(AnnealingPhases, CoolingFromOneHundredRunsOneHundredThirteenStages) {
    // 100 * 0.96^k drops below 1 first at k = 113 (ln 0.01 / ln 0.96 = 112.8). One variable and
    // Lk 1 make stages of two moves; the first heating stage accepts all and keeps T at 100.
    // Each stage is told as it begins: the heating one, then the cooling ones from T = 100.
    struct StageRecorder : RecordingRunControl {
        using RecordingRunControl::RecordingRunControl;
        void StageBegins(long long stage, double temperature, bool heating) override {
            stages.push_back({stage, temperature, heating});
        }
        std::vector<std::tuple<long long, double, bool>> stages;
    };
    AlgParameters p = Params("5", {{"x", 0, 10}});
    p.Lk = 1;
    p.Stop = 0.0f;
    SolutionList list;
    StageRecorder control(1, list);
    RunAnnealing(p, list, control);
    EXPECT_EQ(p.Evaluations(), 1u + 2 + 113 * 2);
    ASSERT_EQ(control.stages.size(), 114u);
    EXPECT_EQ(control.stages[0], std::make_tuple(1LL, 100.0, true));
    EXPECT_EQ(control.stages[1], std::make_tuple(2LL, 100.0, false));
    EXPECT_EQ(control.stages[2], std::make_tuple(3LL, double(0.96f) * 100.0, false));
    EXPECT_EQ(std::get<0>(control.stages.back()), 114);
}

TEST(AnnealingPhases, FlatMovesEndTheRunAlikeForStopsUpToOne) {
    // The flat count is 1 when cooling begins and grows with every move that changes the value
    // by less than Stop (here every move): it reaches the stage length 32 at the 31st move.
    for (float stop : {0.1f, 0.6f, 1.0f}) {
        AlgParameters p = Flat(stop, 0.96f);
        SolutionList list;
        RecordingRunControl control(1, list);
        RunAnnealing(p, list, control);
        EXPECT_EQ(list.Count(), 1u);
        EXPECT_EQ(p.Evaluations(), 1u + 32 + 31) << stop;
    }
}

TEST(AnnealingPhases, HeatingPublishesNothingAndCoolingStartsFromTheStartPoint) {
    // f = x on [-100, 900] with A 0.001: radius 1, steps of 0.01 below 1. From seed 1 the
    // start is -98.70. Heating accepts every downward move and drifts away; with PercentAc 40
    // its first stage of 16 moves (about half accepted) may already end it.
    AlgParameters p = Params("x", {{"x", -100, 900}});
    p.A = 0.001f;
    p.PercentAc = 40;
    SolutionList list;
    RecordingRunControl control(1, list);
    unsigned long long evaluationsAtFirstStep = 0;
    control.afterPublish = [&](int n) {
        if (n == 3) evaluationsAtFirstStep = p.Evaluations();  // clear, start, first step
    };
    RunAnnealing(p, list, control);
    ASSERT_GE(list.Count(), 2u);
    const float start = -100.0f + 1.30f;
    EXPECT_EQ(list.VarValue(0, 0), start);
    EXPECT_GE(evaluationsAtFirstStep, 1u + 16 + 1);
    // The first step of cooling is one neighbour move from the start point.
    EXPECT_LT(list.VarValue(1, 0), start);
    EXPECT_GT(list.VarValue(1, 0), start - 1.0f);
    for (std::size_t i = 1; i < list.Count(); ++i)
        EXPECT_LT(list.FuncValue(i), list.FuncValue(i - 1));
}

TEST(AnnealingPhases, EveryPublishedStepStrictlyBetterInBothDirections) {
    for (bool maximize : {false, true}) {
        AlgParameters p = DefaultProblem();
        p.SetMaximize(maximize);
        p.PercentAc = 50;
        SolutionList list;
        RecordingRunControl control(11, list);
        RunAnnealing(p, list, control);
        EXPECT_FALSE(control.stop.load());
        ASSERT_GE(list.Count(), 2u);
        for (std::size_t i = 1; i < list.Count(); ++i)
            EXPECT_TRUE(Improves(list.FuncValue(i - 1), list.FuncValue(i), maximize)) << i;
    }
}

TEST(AnnealingPhases, SameSeedGivesTheSameTrace) {
    AlgParameters p1 = DefaultProblem(), p2 = DefaultProblem();
    p1.PercentAc = p2.PercentAc = 50;
    SolutionList a, b;
    RecordingRunControl c1(8, a), c2(8, b);
    RunAnnealing(p1, a, c1);
    RunAnnealing(p2, b, c2);
    ASSERT_EQ(a.Count(), b.Count());
    for (std::size_t i = 0; i < a.Count(); ++i) EXPECT_EQ(a.At(i).Values, b.At(i).Values);
    EXPECT_EQ(p1.Evaluations(), p2.Evaluations());
}

// ---- Stop ----

TEST(AnnealingStop, StopEndsTheHeatingWithinOnePass) {
    // PercentAc 100 and worse moves rejected: the heating would not end by itself. A pass over
    // the three variables' masks is 8 moves; stop comes during the 126th pass.
    AlgParameters p = DefaultProblem();
    p.PercentAc = 100;
    SolutionList list;
    RecordingRunControl control(1, list);
    control.onGate = [&](long long passes) {
        if (passes == 1001) control.stop = true;
    };
    RunAnnealing(p, list, control);
    EXPECT_EQ(control.gatePasses, 1008);
    EXPECT_EQ(list.Count(), 1u);  // the start point alone
}

TEST(AnnealingStop, StopEndsACoolingThatPublishesNothing) {
    // Alfa 1 with Stop 0 never ends by itself.
    AlgParameters p = Flat(0.0f, 1.0f);
    SolutionList list;
    RecordingRunControl control(1, list);
    control.onGate = [&](long long passes) {
        if (passes == 5001) control.stop = true;
    };
    RunAnnealing(p, list, control);
    EXPECT_EQ(control.gatePasses, 5004);
    EXPECT_EQ(list.Count(), 1u);
}

TEST(AnnealingStop, StopSeenAfterAPublishedStepEndsAtOnce) {
    AlgParameters p = Params("x", {{"x", -100, 900}});
    p.PercentAc = 40;
    p.LocalSleep = 30;
    SolutionList list;
    RecordingRunControl control(1, list);
    control.afterPublish = [&](int n) {
        if (n == 4) control.stop = true;  // clear, start, two steps
    };
    RunAnnealing(p, list, control);
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(control.sleptMs, 60);
}

TEST(AnnealingEdges, NoVariablesOrNoFormula) {
    AlgParameters none = Params("1+1", {});
    SolutionList list;
    RecordingRunControl control(1, list);
    RunAnnealing(none, list, control);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.FuncValue(0), 2.0f);
    EXPECT_EQ(none.Evaluations(), 1u);

    AlgParameters broken = Params("x*", {{"x", 0, 1}});
    RunAnnealing(broken, list, control);
    EXPECT_EQ(list.Count(), 0u);
}

TEST(AnnealingPhases, HeatingThatMeetsNoNumberEndsAfterItsStage) {
    // exp overflows over the whole range, so every value is not a number: no stage could accept
    // a move however hot it gets. One variable and Lk 10 make a stage of 20 moves.
    AlgParameters p = Params("sin(exp(t))", {{"t", 710, 712}});
    p.Lk = 10;
    SolutionList list;
    RecordingRunControl control(1, list);
    control.MaxMoves = 10'000;
    RunAnnealing(p, list, control);
    EXPECT_FALSE(control.Capped());
    EXPECT_EQ(control.gatePasses, 20);
    EXPECT_EQ(list.Count(), 1u);
}
