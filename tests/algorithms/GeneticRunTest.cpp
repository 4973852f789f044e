#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "GeneticTestSupport.h"
#include "algorithms/GeneticOperators.h"
#include "algorithms/Globalsearch.h"
#include "model/Random.h"
#include "support/RecordingRunControl.h"

using namespace quarmel;
using namespace quarmel::testing;

namespace {

// The start-up problem: x in [-50, 50], y in [-40, 40], c in [1, 15].
void DefaultProblem(AlgParameters& p) {
    p.AddVariable("x", -50, 50, 0);
    p.AddVariable("y", -40, 40, 6);
    p.AddVariable("c", 1, 15, 5);
    p.SetFunctionText("x^2+(y-2)^2+3*c");
}

// A small, quick run of the genetic algorithm on the start-up problem.
void SmallRun(AlgParameters& p) {
    DefaultProblem(p);
    p.PopSize = 40;
    p.Iterations = 25;
    p.GeneticSleep = 7;
}

// A run control that checks, whenever the run hands over control, that the published lists
// are exactly what the last Publish left: the run changes them nowhere else.
class WatchingControl : public RecordingRunControl {
  public:
    WatchingControl(std::uint32_t seed, const GeneticProgress& progress)
        : RecordingRunControl(seed), progress_(progress) {}

    void Publish(ListChangeRef change) override {
        EXPECT_TRUE(Unchanged()) << "lists changed outside Publish";
        RecordingRunControl::Publish(change);
        history_ = progress_.History;
        population_ = *progress_.Population;
        populations.push_back(population_);
    }
    void Sleep(int ms) override {
        EXPECT_TRUE(Unchanged()) << "lists changed outside Publish";
        RecordingRunControl::Sleep(ms);
    }
    void HoldAtGate() override {
        EXPECT_TRUE(Unchanged()) << "lists changed outside Publish";
        RecordingRunControl::HoldAtGate();
    }

    std::vector<SolutionList> populations;  // the population after every publish

  private:
    bool Unchanged() const {
        return SameList(history_, progress_.History) &&
               SameList(population_, *progress_.Population);
    }
    const GeneticProgress& progress_;
    SolutionList history_;
    SolutionList population_;
};

// A reader that keeps every other population it is shown (the rest it lets go at once), with a
// copy of each as it was when shown.
class HoldingControl : public RecordingRunControl {
  public:
    HoldingControl(std::uint32_t seed, const GeneticProgress& progress)
        : RecordingRunControl(seed), progress_(progress) {}

    void Publish(ListChangeRef change) override {
        RecordingRunControl::Publish(change);
        if (++published_ % 2 == 0) return;
        held.push_back(progress_.Population);
        asShown.push_back(*progress_.Population);
    }

    std::vector<std::shared_ptr<const SolutionList>> held;
    std::vector<SolutionList> asShown;

  private:
    const GeneticProgress& progress_;
    int published_ = 0;
};

}  // namespace

TEST(RunGenetic, PopulationsAReaderStillHoldsAreNeverWrittenAgain) {
    for (int crossover = 0; crossover < 3; ++crossover) {
        AlgParameters p;
        SmallRun(p);
        p.CrossoverType = crossover;
        AlgParameters q = p;
        GeneticProgress progress;
        HoldingControl control(17, progress);
        const SolutionList history = RunGenetic(progress, p, control);
        ASSERT_GT(control.held.size(), 30u);
        for (std::size_t k = 0; k < control.held.size(); ++k)
            ASSERT_TRUE(SameList(*control.held[k], control.asShown[k])) << crossover << " " << k;

        // Whether storage was reused or fresh, the run is the one nobody watches.
        GeneticProgress unwatched;
        SyncRunControl sync(17);
        EXPECT_TRUE(SameList(RunGenetic(unwatched, q, sync), history)) << crossover;
        EXPECT_TRUE(SameList(*unwatched.Population, *progress.Population)) << crossover;
    }
}

TEST(CreatePopulation, PointsLieOnEachVariablesDecimalGrid) {
    AlgParameters p;
    p.AddVariable("x", -3, 7, 0);    // range 10: steps of 0.1
    p.AddVariable("y", 2, 3, 0);     // range 1: steps of 0.01
    p.AddVariable("z", 0, 2000, 0);  // range 2000: whole steps
    p.SetFunctionText("x+y+z");
    const SolutionList population = CreatePopulation(p, 200, 5);
    ASSERT_EQ(population.Count(), 200u);
    const double steps[] = {0.1, 0.01, 1};
    for (const SolutionView s : population) {
        ASSERT_EQ(s.Values.size(), 3u);
        for (int j = 0; j < 3; ++j) {
            const double k = (s.Values[j] - p.VariableMin(j)) / steps[j];
            EXPECT_NEAR(k, std::round(k), 1e-3) << "variable " << j;
            EXPECT_GE(s.Values[j], p.VariableMin(j));
            EXPECT_LE(s.Values[j], p.VariableMax(j));
        }
    }
    EXPECT_EQ(p.Evaluations(), 200u);
}

TEST(CreatePopulation, ValueBelongsToThePointBeforeNarrowing) {
    AlgParameters p;
    const float lo = 1.0f / 3.0f;
    const float hi = lo + 1;
    p.AddVariable("x", lo, hi, 0);
    p.SetFunctionText("x*1e9");
    SeedRandom(17);
    std::vector<double> xs;
    for (int i = 0; i < 20; ++i) xs.push_back(double(GridDraw(hi - lo)) + double(lo));

    const SolutionList population = CreatePopulation(p, 20, 17);
    ASSERT_EQ(population.Count(), 20u);
    int differs = 0;
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(population.VarValue(i, 0), float(xs[i]));
        EXPECT_EQ(population.FuncValue(i), float(xs[i] * 1e9));
        differs += float(xs[i] * 1e9) != float(double(float(xs[i])) * 1e9);
    }
    EXPECT_GT(differs, 0) << "the check must tell the double point from the float one";
}

TEST(CreatePopulation, RangesWithoutRoomGiveTheirMaximum) {
    AlgParameters p;
    p.AddVariable("a", 4, 4, 0);  // no width
    p.AddVariable("b", 9, 2, 0);  // maximum below minimum: the minimum is cut back to it
    p.SetFunctionText("a+10*b");
    SeedRandom(3);
    const SolutionList population = CreatePopulation(p, 5, 3);
    EXPECT_TRUE(DrewExactly(3, 0)) << "nothing is drawn for such ranges";
    ASSERT_EQ(population.Count(), 5u);
    for (const SolutionView s : population) {
        EXPECT_EQ(Solution(s).Values, (std::vector<float>{4, 2}));
        EXPECT_EQ(s.Value, 24.0f);
    }
}

TEST(CreatePopulation, SameSeedSamePopulation) {
    AlgParameters p;
    DefaultProblem(p);
    EXPECT_TRUE(SameList(CreatePopulation(p, 50, 123), CreatePopulation(p, 50, 123)));
    EXPECT_FALSE(SameList(CreatePopulation(p, 50, 123), CreatePopulation(p, 50, 124)));
}

TEST(CreatePopulation, NothingForABadFormulaOrCount) {
    AlgParameters p;
    DefaultProblem(p);
    EXPECT_EQ(CreatePopulation(p, 0, 1).Count(), 0u);
    EXPECT_EQ(CreatePopulation(p, -3, 1).Count(), 0u);
    p.SetFunctionText("x^2+(y-2");
    EXPECT_EQ(CreatePopulation(p, 10, 1).Count(), 0u);
    EXPECT_EQ(p.Evaluations(), 0u);
}

TEST(RunGenetic, FullRunHasAnEntryPerGenerationAndOneMoreSleep) {
    AlgParameters p;
    SmallRun(p);
    GeneticProgress progress;
    RecordingRunControl control(42);
    const SolutionList returned = RunGenetic(progress, p, control);
    EXPECT_EQ(progress.History.Count(), 25u);
    EXPECT_EQ(control.sleeps, 26);
    EXPECT_EQ(control.sleptMs, 26 * 7);
    EXPECT_TRUE(SameList(returned, progress.History));
    EXPECT_GT(progress.Population->Count(), 0u);
}

TEST(RunGenetic, ZeroIterationsKeepTheInitialPopulation) {
    AlgParameters p;
    SmallRun(p);
    p.Iterations = 0;
    GeneticProgress progress;
    RecordingRunControl control(8);
    const SolutionList returned = RunGenetic(progress, p, control);
    EXPECT_EQ(returned.Count(), 0u);
    EXPECT_EQ(progress.History.Count(), 0u);
    EXPECT_EQ(control.sleeps, 1);
    AlgParameters q;
    SmallRun(q);
    EXPECT_TRUE(SameList(*progress.Population, CreatePopulation(q, 40, 8)));
}

TEST(RunGenetic, HistoryNeverGetsWorseAndFollowsEachPopulation) {
    for (bool maximize : {false, true}) {
        for (int selection : {0, 1}) {
            for (int crossover : {0, 1, 2}) {
                AlgParameters p;
                SmallRun(p);
                p.SetMaximize(maximize);
                p.SelectionType = selection;
                p.CrossoverType = crossover;
                GeneticProgress progress;
                RecordingRunControl control(1000 + selection * 10 + crossover);
                // The best of the population published with each history entry.
                std::vector<Solution> populationBest;
                control.afterPublish = [&](int) {
                    if (progress.History.Count() > populationBest.size()) {
                        populationBest.push_back(Solution(progress.Population->Best(maximize)));
                    }
                };
                RunGenetic(progress, p, control);
                const SolutionList& h = progress.History;
                ASSERT_EQ(h.Count(), 25u);
                ASSERT_EQ(populationBest.size(), 25u);
                for (std::size_t g = 0; g < h.Count(); ++g) {
                    const float v = h.FuncValue(g);
                    const float own = populationBest[g].Value;
                    EXPECT_TRUE(maximize ? v >= own : v <= own) << g;
                    if (g > 0) {
                        const float prev = h.FuncValue(g - 1);
                        EXPECT_TRUE(maximize ? v >= prev : v <= prev) << g;
                        // It changes only to a point of the population just made.
                        if (v != prev) {
                            EXPECT_EQ(v, own);
                        }
                    }
                }
            }
        }
    }
}

TEST(RunGenetic, SameSeedSameRun) {
    GeneticProgress first, second, third;
    for (auto* progress : {&first, &second}) {
        AlgParameters p;
        SmallRun(p);
        p.SelectionType = 1;
        p.CrossoverType = 0;
        RecordingRunControl control(555);
        RunGenetic(*progress, p, control);
    }
    EXPECT_TRUE(SameList(first.History, second.History));
    EXPECT_TRUE(SameList(*first.Population, *second.Population));
    AlgParameters p;
    SmallRun(p);
    p.SelectionType = 1;
    p.CrossoverType = 0;
    RecordingRunControl control(556);
    RunGenetic(third, p, control);
    EXPECT_FALSE(SameList(*first.Population, *third.Population));
}

TEST(RunGenetic, OneVariableIsNeverCrossed) {
    AlgParameters p;
    p.AddVariable("x", -5, 5, 0);
    p.SetFunctionText("x^2");
    p.PopSize = 10;  // crossing an even population at 100 % would drop one
    p.Iterations = 5;
    p.COProbab = 100;
    p.MProbab = 0;
    GeneticProgress progress;
    RecordingRunControl control(3);
    RunGenetic(progress, p, control);
    EXPECT_EQ(progress.Population->Count(), 10u);
    EXPECT_EQ(progress.History.Count(), 5u);
    EXPECT_EQ(p.Evaluations(), 10u) << "no children, no mutants";
}

TEST(RunGenetic, EvenPopulationFullyCrossedLosesOneForGood) {
    AlgParameters p;
    SmallRun(p);
    p.PopSize = 30;
    p.COProbab = 100;
    GeneticProgress progress;
    WatchingControl control(21, progress);
    RunGenetic(progress, p, control);
    // Published populations: none, the initial one, then the selection, the crossover, the
    // mutation and (with the history entry) the same again, generation after generation.
    ASSERT_GE(control.populations.size(), 5u);
    EXPECT_EQ(control.populations[1].Count(), 30u);
    EXPECT_EQ(control.populations[2].Count(), 30u);
    for (std::size_t i = 3; i < control.populations.size(); ++i) {
        EXPECT_EQ(control.populations[i].Count(), 29u) << i;
    }
}

TEST(RunGenetic, UnknownOperatorKindsLeaveThePopulationToMutation) {
    AlgParameters p;
    SmallRun(p);
    p.SelectionType = 2;
    p.CrossoverType = 3;
    p.MProbab = 0;
    GeneticProgress progress;
    RecordingRunControl control(4);
    RunGenetic(progress, p, control);
    AlgParameters q;
    SmallRun(q);
    const SolutionList initial = CreatePopulation(q, 40, 4);
    EXPECT_TRUE(SameList(*progress.Population, initial));
    for (const SolutionView s : progress.History) EXPECT_EQ(s.Value, initial.Best(false).Value);
}

TEST(RunGenetic, NothingToRunGivesEmptyListsWithoutSleeping) {
    for (int which = 0; which < 2; ++which) {
        AlgParameters p;
        SmallRun(p);
        if (which == 0) p.SetFunctionText("x^2+*y");
        if (which == 1) p.PopSize = 0;
        GeneticProgress progress;
        progress.History.Append(Solution{{1, 2, 3}, 4});  // left from an earlier run
        SolutionList left;
        left.Append(Solution{{1, 2, 3}, 4});
        progress.Population = std::make_shared<const SolutionList>(left);
        RecordingRunControl control(1);
        const SolutionList returned = RunGenetic(progress, p, control);
        EXPECT_EQ(returned.Count(), 0u);
        EXPECT_EQ(progress.History.Count(), 0u);
        EXPECT_EQ(progress.Population->Count(), 0u);
        EXPECT_EQ(control.sleeps, 0);
    }
}

TEST(RunGenetic, ProblemWithoutVariablesSleepsOnceAndEnds) {
    AlgParameters p;
    p.SetFunctionText("2+3");
    p.PopSize = 6;
    GeneticProgress progress;
    RecordingRunControl control(1);
    RunGenetic(progress, p, control);
    EXPECT_EQ(progress.Population->Count(), 6u);
    EXPECT_EQ(progress.Population->FuncValue(0), 5.0f);
    EXPECT_EQ(progress.History.Count(), 0u);
    EXPECT_EQ(control.sleeps, 1);
}

TEST(RunGenetic, StopDuringTheFirstSleepKeepsTheInitialPopulation) {
    AlgParameters p;
    SmallRun(p);
    GeneticProgress progress;
    RecordingRunControl control(64);
    control.afterSleep = [&](int) { control.stop = true; };
    RunGenetic(progress, p, control);
    EXPECT_EQ(progress.History.Count(), 0u);
    EXPECT_EQ(control.sleeps, 1);
    AlgParameters q;
    SmallRun(q);
    EXPECT_TRUE(SameList(*progress.Population, CreatePopulation(q, 40, 64)));
}

TEST(RunGenetic, StopAfterAnOperatorLeavesTheGenerationHalfDone) {
    // Publishes: 1 clears, 2 the initial population, 3 selection, 4 crossover, 5 mutation,
    // 6 the history entry.
    for (int stopAt : {3, 4, 6}) {
        AlgParameters p;
        SmallRun(p);
        GeneticProgress progress;
        RecordingRunControl control(90);
        SolutionList atStop;
        control.afterPublish = [&](int n) {
            if (n == stopAt) {
                control.stop = true;
                atStop = *progress.Population;
            }
        };
        RunGenetic(progress, p, control);
        EXPECT_EQ(control.publishes, stopAt);
        EXPECT_EQ(progress.History.Count(), stopAt == 6 ? 1u : 0u);
        EXPECT_TRUE(SameList(*progress.Population, atStop));
        EXPECT_EQ(control.sleeps, 1) << "no sleep after a stop";
    }
}

TEST(RunGenetic, StopSeenAtThePauseGateEndsTheRun) {
    AlgParameters p;
    SmallRun(p);
    GeneticProgress progress;

    class StopWhilePaused : public RecordingRunControl {
      public:
        using RecordingRunControl::RecordingRunControl;
        void HoldAtGate() override {
            RecordingRunControl::HoldAtGate();
            stop = true;  // the window's Stop arriving while the run waits at the gate
        }
    } control(5);

    RunGenetic(progress, p, control);
    EXPECT_EQ(control.gatePasses, 1);
    EXPECT_EQ(progress.History.Count(), 0u);
}

TEST(RunGenetic, ListsChangeOnlyInsidePublish) {
    AlgParameters p;
    SmallRun(p);
    p.CrossoverType = 1;
    GeneticProgress progress;
    WatchingControl control(77, progress);
    RunGenetic(progress, p, control);
    EXPECT_EQ(progress.History.Count(), 25u);
    // Clear, initial population, then four publishes per generation.
    EXPECT_EQ(control.publishes, 2 + 4 * 25);
}
