#include "app/runs/RunProgress.h"
#include "app/runs/RunStatus.h"

#include <gtest/gtest.h>

#include "support/SolutionSupport.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "model/Problem.h"

namespace quarmel {
namespace {

using testing::ListOf;
using testing::Make;

// A worker whose run may end while the window copies its lists.
struct FakeWorker {
    std::uint64_t run = 1;
    SolutionList solutions;
    SolutionList population;
    bool finished = false;
    bool finishDuringSnapshot = false;
    int snapshots = 0;      // whole copies of the solutions
    int tailSnapshots = 0;  // copies of the solutions from a position on
    std::size_t lastFrom = 0;

    bool IsFinished() const { return finished; }
    std::uint64_t RunNumber() const { return run; }
    SolutionList SnapshotSolutions() {
        ++snapshots;
        return CopyFrom(0);
    }
    SolutionList SnapshotSolutionsFrom(std::size_t from) {
        ++tailSnapshots;
        lastFrom = from;
        return CopyFrom(from);
    }
    SolutionList SnapshotPopulation() const { return population; }

  private:
    SolutionList CopyFrom(std::size_t from) {
        SolutionList copy;
        for (std::size_t i = from; i < solutions.Count(); ++i) copy.Append(solutions.At(i));
        if (finishDuringSnapshot) {
            // The last step lands right after the copy, then the run ends.
            solutions.Append(Make({9.0f}, 9.0f));
            finished = true;
        }
        return copy;
    }
};

TEST(PollRun, WithoutWorkerNothingChangesAndTheRunHasNotEnded) {
    SolutionList sols = ListOf({Make({1.0f}, 1.0f)});
    SolutionList pop;
    std::uint64_t run = 0;
    EXPECT_FALSE(PollRun<FakeWorker>(nullptr, false, sols, pop, run));
    EXPECT_EQ(sols.Count(), 1u);
}

TEST(PollRun, CopiesBothListsUnlessResultsAreIgnored) {
    FakeWorker w;
    w.solutions = ListOf({Make({1.0f}, 1.0f), Make({2.0f}, 2.0f)});
    w.population = ListOf({Make({3.0f}, 3.0f)});
    SolutionList sols, pop;
    std::uint64_t run = 0;
    EXPECT_FALSE(PollRun(&w, false, sols, pop, run));
    EXPECT_EQ(sols.Count(), 2u);
    EXPECT_EQ(pop.Count(), 1u);

    // Ignored results keep what the window shows, yet the end of the run is still noticed.
    w.finished = true;
    SolutionList loaded = ListOf({Make({7.0f}, 7.0f)});
    SolutionList emptyPop;
    std::uint64_t noRun = 0;
    EXPECT_TRUE(PollRun(&w, true, loaded, emptyPop, noRun));
    EXPECT_EQ(loaded.Count(), 1u);
    EXPECT_FLOAT_EQ(loaded.FuncValue(0), 7.0f);
    EXPECT_EQ(w.snapshots + w.tailSnapshots, 1);
}

TEST(PollRun, AnEndDuringTheCopyIsReportedOnlyWithTheFinalLists) {
    FakeWorker w;
    w.solutions = ListOf({Make({1.0f}, 1.0f)});
    w.finishDuringSnapshot = true;
    SolutionList sols, pop;
    std::uint64_t run = 0;
    EXPECT_FALSE(PollRun(&w, false, sols, pop, run));
    EXPECT_EQ(sols.Count(), 1u);
    w.finishDuringSnapshot = false;
    EXPECT_TRUE(PollRun(&w, false, sols, pop, run));
    ASSERT_EQ(sols.Count(), 2u);
    EXPECT_FLOAT_EQ(sols.FuncValue(1), 9.0f);
}

TEST(PollRun, TakesOnlyWhatTheSameRunAddedAndAnyOtherListWhole) {
    FakeWorker w;
    w.solutions = ListOf({Make({1.0f}, 1.0f), Make({2.0f}, 2.0f)});
    w.population = ListOf({Make({3.0f}, 3.0f)});
    SolutionList sols, pop;
    std::uint64_t run = 0;
    ListChange change = ListChange::None;
    PollRun(&w, false, sols, pop, run, &change);
    EXPECT_EQ(change, ListChange::Grown);
    EXPECT_EQ(run, 1u);
    EXPECT_EQ(w.snapshots, 1);

    // Later ticks of the run take the solutions from where the window's list ends.
    w.solutions.Append(Make({4.0f}, 4.0f));
    w.solutions.Append(Make({5.0f}, 5.0f));
    w.population = ListOf({Make({6.0f}, 6.0f), Make({7.0f}, 7.0f)});
    PollRun(&w, false, sols, pop, run, &change);
    EXPECT_EQ(change, ListChange::Grown);
    EXPECT_EQ(w.snapshots, 1);
    EXPECT_EQ(w.lastFrom, 2u);
    EXPECT_EQ(CompareSolutionLists(w.solutions, sols), ListChange::None);
    EXPECT_EQ(CompareSolutionLists(w.population, pop), ListChange::None);  // always whole
    PollRun(&w, false, sols, pop, run, &change);
    EXPECT_EQ(change, ListChange::None);
    EXPECT_EQ(sols.Count(), 4u);
    // Ignored results: the window's list stays, whatever the run adds.
    w.solutions.Append(Make({8.0f}, 8.0f));
    PollRun(&w, true, sols, pop, run, &change);
    EXPECT_EQ(change, ListChange::None);
    EXPECT_EQ(sols.Count(), 4u);

    // A new run's list replaces the old one, even where the old one was longer.
    FakeWorker next;
    next.run = 2;
    next.solutions = ListOf({Make({1.0f}, 1.0f)});
    PollRun(&next, false, sols, pop, run, &change);
    EXPECT_EQ(change, ListChange::Replaced);
    EXPECT_EQ(run, 2u);
    EXPECT_EQ(CompareSolutionLists(next.solutions, sols), ListChange::None);
    EXPECT_TRUE(pop.Empty());

    // The window put a list of its own in place (a file): copied whole again, though the run
    // is the same.
    sols = ListOf({Make({0.5f}, 0.5f), Make({0.25f}, 0.25f), Make({0.125f}, 0.125f)});
    run = 0;
    next.solutions.Append(Make({2.0f}, 2.0f));
    PollRun(&next, false, sols, pop, run, &change);
    EXPECT_EQ(change, ListChange::Replaced);
    EXPECT_EQ(next.tailSnapshots, 0);
    EXPECT_EQ(CompareSolutionLists(next.solutions, sols), ListChange::None);
}

TEST(CompareSolutionLists, TellsUnchangedGrownAndReplacedLists) {
    const SolutionList two = ListOf({Make({1, 2}, 3), Make({4, 5}, 6)});
    const SolutionList three = ListOf({Make({1, 2}, 3), Make({4, 5}, 6), Make({7, 8}, 9)});
    EXPECT_EQ(CompareSolutionLists(two, ListOf({Make({1, 2}, 3), Make({4, 5}, 6)})),
              ListChange::None);
    EXPECT_EQ(CompareSolutionLists(two, three), ListChange::Grown);
    EXPECT_EQ(CompareSolutionLists(SolutionList(), two), ListChange::Grown);
    EXPECT_EQ(CompareSolutionLists(three, two), ListChange::Replaced);
    // Longer, but an earlier solution differs: in a variable, in f, in its number of values.
    EXPECT_EQ(CompareSolutionLists(two, ListOf({Make({1, 2.5f}, 3), Make({4, 5}, 6), Make({}, 1)})),
              ListChange::Replaced);
    EXPECT_EQ(CompareSolutionLists(two, ListOf({Make({1, 2}, 3), Make({4, 5}, 6.5f)})),
              ListChange::Replaced);
    EXPECT_EQ(CompareSolutionLists(two, ListOf({Make({1, 2}, 3), Make({4}, 6)})),
              ListChange::Replaced);
    // Numbers compare by their bits: a not-a-number equals itself; 0 and -0 read differently.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(CompareSolutionLists(ListOf({Make({nan}, nan)}), ListOf({Make({nan}, nan)})),
              ListChange::None);
    EXPECT_EQ(CompareSolutionLists(ListOf({Make({0.0f}, 1)}), ListOf({Make({-0.0f}, 1)})),
              ListChange::Replaced);
}

TEST(ResultLabels, MinimisingShowsTheFirstAndTheSmallest) {
    SolutionList list = ListOf({Make({}, 5), Make({}, 3), Make({}, 4)});
    EXPECT_EQ(InitialSolutionText(list), "5");
    EXPECT_EQ(OptimalSolutionText(list, false), "3");
}

TEST(ResultLabels, MaximisingTakesTheLargestAndNeverANotANumber) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    SolutionList list = ListOf({Make({}, nan), Make({}, 5), Make({}, 7.25f), Make({}, 6)});
    list.Append(Make({}, nan));
    EXPECT_EQ(OptimalSolutionText(list, true), "7,25");
    EXPECT_EQ(OptimalSolutionText(list, false), "5");
    EXPECT_EQ(OptimalSolutionText(ListOf({Make({}, nan)}), true), "NAN");
}

TEST(ResultLabels, SevenSignificantDigitsAndEmptyWithoutSolutions) {
    SolutionList list = ListOf({Make({}, 1234.5678f)});
    EXPECT_EQ(InitialSolutionText(list), "1234,568");
    EXPECT_EQ(InitialSolutionText(SolutionList()), "");
    EXPECT_EQ(OptimalSolutionText(SolutionList(), true), "");
}

TEST(UnusableRange, NamesTheFirstVariableWithoutRoom) {
    Problem p;
    p.AddVariable("x", -50, 50, 0);
    EXPECT_EQ(UnusableRangeMessage(p), "");
    p.AddVariable("y", 3, 3, 3);
    p.AddVariable("c", 15, 1, 5);
    const std::string m = UnusableRangeMessage(p);
    EXPECT_NE(m.find("variable y "), std::string::npos) << m;
    EXPECT_EQ(m.find("variable c"), std::string::npos) << m;
    Problem q;
    q.AddVariable("c", 15, 1, 5);
    EXPECT_NE(UnusableRangeMessage(q).find("variable c "), std::string::npos);
    Problem none;
    EXPECT_EQ(UnusableRangeMessage(none), "");
}

// The bar (shown or not, value/maximum, text) and the stage, in one line.
std::string Shown(const RunStatus& s) {
    return std::string(s.BarVisible() ? "bar " : "no bar ") + std::to_string(s.BarValue()) + "/" +
           std::to_string(s.BarMaximum()) + " [" + s.BarFormat() + "] " + s.StageText();
}

// Start settings with the genetic algorithm's number of generations.
AlgParameters WithIterations(int iterations) {
    AlgParameters p;
    p.Iterations = iterations;
    return p;
}

// Each algorithm through a run: its start, five solutions published, a stage, the end. A genetic
// run publishes one solution per finished generation, so five make "5 of 20"; the end takes the
// bar and the stage away.
TEST(RunStatus, TheBarCountsGenerationsAndOnlyTheAnnealingShowsItsStage) {
    const std::pair<AlgorithmKind, std::vector<std::string>> cases[] = {
        {Genetic,
         {"bar 0/20 [] ", "bar 5/20 [Generation %v of %m] ", "bar 5/20 [Generation %v of %m] ",
          "no bar 5/20 [Generation %v of %m] "}},
        // No bar: the stage is the annealing's progress.
        {SimulatedAnnealing,
         {"no bar 0/0 [] ", "no bar 0/0 [] ", "no bar 0/0 [] Stage 4, cooling at 12,5",
          "no bar 0/0 [] "}},
        {Greedy, {"no bar 0/0 [] ", "no bar 0/0 [] ", "no bar 0/0 [] ", "no bar 0/0 [] "}},
    };
    for (const auto& [kind, expected] : cases) {
        RunStatus s;
        s.Start(kind, WithIterations(20), 7);
        s.Published(0);
        EXPECT_EQ(Shown(s), expected[0]);
        s.Published(5);
        EXPECT_EQ(Shown(s), expected[1]);
        s.Stage(4, false, 12.5);
        EXPECT_EQ(Shown(s), expected[2]);
        s.End();
        EXPECT_EQ(Shown(s), expected[3]);
    }
}

// The message through start, pause, resume and the end; a pause after the end brings none back.
TEST(RunStatus, TheMessageSaysRunningOrPausedUntilTheEnd) {
    const std::pair<AlgorithmKind, const char*> cases[] = {
        {Greedy, "Greedy algorithm is "},
        {Steepest, "Steepest algorithm is "},
        {SimulatedAnnealing, "Simulated Annealing algorithm is "},
        {Genetic, "Genetic algorithm is "},
    };
    for (const auto& [kind, start] : cases) {
        RunStatus s;
        s.SetPaused(true);
        EXPECT_EQ(s.MessageText(), "");
        s.Start(kind, WithIterations(20), 7);
        EXPECT_EQ(s.MessageText(), std::string(start) + "running ...");
        s.SetPaused(true);
        EXPECT_EQ(s.MessageText(), std::string(start) + "paused");
        s.SetPaused(false);
        EXPECT_EQ(s.MessageText(), std::string(start) + "running ...");
        s.End();
        s.SetPaused(true);
        EXPECT_EQ(s.MessageText(), "");
        EXPECT_EQ(s.SeedText(), "Seed 7");
    }
}

TEST(RunStatus, ANewRunStartsAfreshButKeepsTheBarsText) {
    RunStatus s;
    s.Start(Genetic, WithIterations(20), 4294967295u);
    s.Published(30);  // past the budget: the bar stays full
    s.Elapsed(754);
    EXPECT_EQ(Shown(s) + s.SeedText() + " " + s.ElapsedText(),
              "bar 20/20 [Generation %v of %m] Seed 4294967295 12:34");
    s.Start(SimulatedAnnealing, WithIterations(20), 4);
    s.Stage(1, true, 1000);
    EXPECT_EQ(Shown(s) + " " + s.ElapsedText(),
              "no bar 0/0 [Generation %v of %m] Stage 1, heating at 1000 0:00");
    s.Start(Genetic, WithIterations(50), 1);
    EXPECT_EQ(Shown(s), "bar 0/50 [Generation %v of %m] ");
}

}  // namespace
}  // namespace quarmel
