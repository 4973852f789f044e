#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <thread>

#include "SearchFixtures.h"
#include "algorithms/AlgorithmTable.h"
#include "algorithms/Annealing.h"
#include "algorithms/GeneticOperators.h"
#include "algorithms/Globalsearch.h"
#include "algorithms/Greedy.h"
#include "algorithms/Optimizationthread.h"
#include "support/SolutionSupport.h"

using namespace quarmel;
using namespace quarmel::testing;
using namespace std::chrono_literals;

namespace {

// Polls until the condition holds or the time is up; true when it held. The generous limit only
// matters when something is broken (or under a sanitizer): a passing test returns at once.
template <class Pred>
bool WaitUntil(Pred pred, std::chrono::milliseconds limit = 20s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(500us);
    }
    return true;
}

using Worker = std::shared_ptr<OptimizationThread>;

Worker StartSeeded(const AlgParameters& p, AlgorithmKind kind, std::uint32_t seed) {
    OptimizationThread::Options options;
    options.seed = seed;
    return OptimizationThread::Start(p, kind, options);
}

// The same run made synchronously: what the worker must publish from the same seed.
SolutionList Reference(AlgParameters p, std::uint32_t seed) {
    SolutionList list;
    RecordingRunControl control(seed);
    RunGreedy(p, list, control);
    return list;
}

// x + y + z maximised on ranges so wide that a run with no delay keeps publishing until it is
// stopped: a greedy pass fails only if none of its eight moves gains.
AlgParameters EndlessClimb() {
    AlgParameters p = Params("x+y+z", {{"x", 0, 1e7f}, {"y", 0, 1e7f}, {"z", 0, 1e7f}}, true);
    p.A = 1e-6f;  // radius 10: steps of 0.1 below 10
    return p;
}

// The value EndlessClimb's formula gives at a Solution's coordinates.
float ClimbValue(SolutionView s) {
    return float(double(s.Values[0]) + double(s.Values[1]) + double(s.Values[2]));
}

}  // namespace

// ---- Starting and stopping ----

TEST(WorkerStart, StopBeforeTheBodyBeginsRunsNothing) {
    std::promise<void> stopped;
    std::shared_future<void> stoppedSeen = stopped.get_future().share();
    OptimizationThread::Options options;
    options.seed = 1;
    options.onThreadStart = [stoppedSeen] { stoppedSeen.wait(); };
    Worker w = OptimizationThread::Start(DefaultProblem(), Greedy, options);
    w->Terminate();
    stopped.set_value();
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
    EXPECT_EQ(w->SnapshotSolutions().Count(), 0u);
    EXPECT_EQ(w->SnapshotPopulation().Count(), 0u);
}

TEST(WorkerStart, KindOutsideTheRangeFinishesWithoutPublishing) {
    for (int kind : {static_cast<int>(kAlgorithmCount), -1, 99}) {
        Worker w = StartSeeded(DefaultProblem(), static_cast<AlgorithmKind>(kind), 1);
        ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); })) << kind;
        EXPECT_EQ(w->SnapshotSolutions().Count(), 0u);
        EXPECT_EQ(w->SnapshotPopulation().Count(), 0u);
    }
}

TEST(WorkerStart, RunsOnItsOwnCopyOfTheParameters) {
    // The window recompiles its problem with another formula at once; the worker's run keeps
    // the formula it was started with (f = x: each value equals its coordinate).
    AlgParameters window = Params("x", {{"x", 0, 10}});
    window.LocalSleep = 1;
    ASSERT_EQ(window.Compile(), -1);
    Worker w = StartSeeded(window, Greedy, 1);
    window.SetFunctionText("-x*1000");
    window.SetMaximize(true);
    ASSERT_EQ(window.Compile(), -1);
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
    const SolutionList list = w->SnapshotSolutions();
    ASSERT_EQ(list.Count(), 6u);  // the minimising trace of f = x from seed 1
    for (const SolutionView s : list) EXPECT_EQ(s.Value, s.Values[0]);
}

TEST(WorkerStop, StopEndsTheSleepAfterAPublishedStep) {
    AlgParameters p = DefaultProblem();
    p.LocalSleep = 10000;
    Worker w = StartSeeded(p, Greedy, 1);
    ASSERT_TRUE(WaitUntil([&] { return w->SnapshotSolutions().Count() >= 2; }));
    const auto before = std::chrono::steady_clock::now();
    w->Terminate();
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }, 5s));  // not the 10 s sleep
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
    EXPECT_EQ(w->SnapshotSolutions().Count(), 2u);  // nothing after the step it slept on
    EXPECT_TRUE(w->TerminationRequested());
}

// A run's processor time leaves out its delays: a step after a 400 ms sleep shows far less.
TEST(WorkerStop, ProcessorTimeLeavesTheDelaysOut) {
    AlgParameters p = DefaultProblem();
    p.LocalSleep = 400;
    const auto start = std::chrono::steady_clock::now();
    Worker w = StartSeeded(p, Greedy, 1);
    ASSERT_TRUE(WaitUntil([&] { return w->SnapshotSolutions().Count() >= 3; }));
    w->Terminate();
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
    ASSERT_GE(std::chrono::steady_clock::now() - start, 400ms);
    EXPECT_GT(w->CpuSeconds(), 0.0);
    EXPECT_LT(w->CpuSeconds(), 0.2);
}

TEST(WorkerStop, EachWorkerHasItsOwnStopRequest) {
    // A stopped worker ends although the next run (which clears nothing of it) goes on.
    AlgParameters slow = DefaultProblem();
    slow.LocalSleep = 10000;
    Worker first = StartSeeded(slow, Greedy, 1);
    ASSERT_TRUE(WaitUntil([&] { return first->SnapshotSolutions().Count() >= 2; }));
    first->Terminate();
    Worker second = StartSeeded(slow, Greedy, 1);
    ASSERT_TRUE(WaitUntil([&] { return first->IsFinished(); }, 5s));
    EXPECT_FALSE(second->TerminationRequested());
    EXPECT_NE(first->RunNumber(), second->RunNumber());
    EXPECT_FALSE(second->IsFinished());
    second->Terminate();
    ASSERT_TRUE(WaitUntil([&] { return second->IsFinished(); }, 5s));
}

// ---- What the snapshots show ----

TEST(WorkerSnapshots, HeatingAnnealingShowsTheStartPointAloneAndNoPopulation) {
    AlgParameters p = DefaultProblem();
    p.PercentAc = 100;  // worse moves are rejected: the heating goes on until Stop
    Worker w = StartSeeded(p, SimulatedAnnealing, 1);
    ASSERT_TRUE(WaitUntil([&] { return w->SnapshotSolutions().Count() >= 1; }));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(w->SnapshotSolutions().Count(), 1u);
        EXPECT_EQ(w->SnapshotPopulation().Count(), 0u);
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_FALSE(w->IsFinished());
    w->Terminate();
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
    EXPECT_EQ(w->SnapshotSolutions().Count(), 1u);
}

TEST(WorkerSnapshots, LocalRunsNeverShowAPopulation) {
    for (AlgorithmKind kind : {Greedy, Steepest, SimulatedAnnealing}) {
        AlgParameters p = DefaultProblem();
        p.PercentAc = 50;
        Worker w = StartSeeded(p, kind, 3);
        bool sawSolutions = false;
        while (!w->IsFinished()) {
            sawSolutions |= w->SnapshotSolutions().Count() > 0;
            ASSERT_EQ(w->SnapshotPopulation().Count(), 0u) << kind;
            std::this_thread::yield();
        }
        EXPECT_EQ(w->SnapshotPopulation().Count(), 0u);
        EXPECT_GE(w->SnapshotSolutions().Count(), 1u);
    }
}

TEST(WorkerSnapshots, AfterTheFirstFinishedTheListsNeverChange) {
    AlgParameters p = DefaultProblem();
    Worker w = StartSeeded(p, Greedy, 21);
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
    const SolutionList final = w->SnapshotSolutions();
    EXPECT_TRUE(SameList(final, Reference(p, 21)));  // the whole run, nothing missing
    for (int i = 0; i < 10; ++i) {
        std::this_thread::sleep_for(1ms);
        EXPECT_TRUE(SameList(w->SnapshotSolutions(), final));
    }
}

TEST(WorkerSnapshots, TightSnapshotsWhilePublishingAreAlwaysPrefixes) {
    // The worker publishes with no delay while this thread copies in a tight loop for a bounded
    // time. Every copy must be a whole prefix of the next, and of the final list.
    Worker w = StartSeeded(EndlessClimb(), Greedy, 7);
    SolutionList previous;
    SolutionList gathered;  // put together from the tails alone
    int copies = 0;
    std::size_t grew = 0;
    const auto until = std::chrono::steady_clock::now() + 300ms;
    while (std::chrono::steady_clock::now() < until) {
        SolutionList now = w->SnapshotSolutions();
        ASSERT_TRUE(IsPrefix(previous, now)) << copies;
        for (std::size_t i = previous.Count(); i < now.Count(); ++i) {
            ASSERT_EQ(now.At(i).Values.size(), 3u);
            ASSERT_EQ(now.FuncValue(i), ClimbValue(now.At(i)));  // never a half-made Solution
            if (i > 0) {
                ASSERT_GT(now.FuncValue(i), now.FuncValue(i - 1));
            }
        }
        ASSERT_EQ(w->SnapshotPopulation().Count(), 0u);
        grew += now.Count() > previous.Count();
        previous = std::move(now);
        for (const SolutionView s : w->SnapshotSolutionsFrom(gathered.Count())) gathered.Append(s);
        ++copies;
        if (previous.Count() > 200000) break;  // enough; keeps the copies short
    }
    w->Terminate();
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
    const SolutionList final = w->SnapshotSolutions();
    EXPECT_TRUE(IsPrefix(previous, final));
    for (const SolutionView s : w->SnapshotSolutionsFrom(gathered.Count())) gathered.Append(s);
    EXPECT_TRUE(SameList(gathered, final));
    EXPECT_TRUE(w->SnapshotSolutionsFrom(final.Count() + 5).Empty());
    EXPECT_GT(copies, 10);
    EXPECT_GT(grew, 2u);  // the lists really changed under the copying
}

// ---- Pause ----

TEST(WorkerPause, PauseFreezesTheListsAndResumeLosesAndRepeatsNothing) {
    AlgParameters p = DefaultProblem();
    p.LocalSleep = 1;
    const SolutionList reference = Reference(p, 5);
    ASSERT_GT(reference.Count(), 12u);

    Worker w = StartSeeded(p, Greedy, 5);
    ASSERT_TRUE(WaitUntil([&] { return w->SnapshotSolutions().Count() >= 5; }));
    w->Hold();
    const SolutionList held = w->SnapshotSolutions();
    ASSERT_TRUE(WaitUntil([&] { return w->IsHeld(); }));
    for (int i = 0; i < 10; ++i) {
        std::this_thread::sleep_for(2ms);
        ASSERT_TRUE(SameList(w->SnapshotSolutions(), held));
    }
    EXPECT_FALSE(w->IsFinished());
    EXPECT_LT(held.Count(), reference.Count());

    w->Resume();
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
    EXPECT_FALSE(w->IsHeld());
    EXPECT_TRUE(SameList(w->SnapshotSolutions(), reference));
}

TEST(WorkerPause, PauseThenStopEndsWithoutResume) {
    for (AlgorithmKind kind : {Greedy, Steepest, SimulatedAnnealing}) {
        AlgParameters p = EndlessClimb();
        Worker w = StartSeeded(p, kind, 2);
        ASSERT_TRUE(WaitUntil([&] { return w->SnapshotSolutions().Count() >= 1; }));
        w->Hold();
        ASSERT_TRUE(WaitUntil([&] { return w->IsHeld(); })) << kind;
        const SolutionList held = w->SnapshotSolutions();
        w->Terminate();
        ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); })) << kind;
        // Stop opened the gate; at most the move it was holding was completed.
        EXPECT_LE(w->SnapshotSolutions().Count(), held.Count() + 1);
    }
}

TEST(WorkerPause, HoldBeforeTheFirstPublishHoldsTheStart) {
    std::promise<void> held;
    std::shared_future<void> heldSeen = held.get_future().share();
    OptimizationThread::Options options;
    options.seed = 1;
    options.onThreadStart = [heldSeen] { heldSeen.wait(); };
    Worker w = OptimizationThread::Start(DefaultProblem(), Steepest, options);
    w->Hold();
    held.set_value();
    ASSERT_TRUE(WaitUntil([&] { return w->IsHeld(); }));
    EXPECT_EQ(w->SnapshotSolutions().Count(), 0u);
    w->Resume();
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
    EXPECT_GE(w->SnapshotSolutions().Count(), 2u);
}

// ---- Release ----

TEST(WorkerRelease, StateLivesUntilBothTheThreadAndTheHandleAreDone) {
    // The handle goes first: the running thread keeps the worker alive until it ends.
    AlgParameters slow = DefaultProblem();
    slow.LocalSleep = 10000;
    Worker w = StartSeeded(slow, Greedy, 1);
    std::weak_ptr<OptimizationThread> watch = w;
    ASSERT_TRUE(WaitUntil([&] { return w->SnapshotSolutions().Count() >= 2; }));
    w->Terminate();
    w.reset();
    ASSERT_TRUE(WaitUntil([&] { return watch.expired(); }, 5s));

    // The thread goes first: the handle still reads the final lists, and dropping it releases.
    Worker quick = StartSeeded(DefaultProblem(), Greedy, 1);
    watch = quick;
    ASSERT_TRUE(WaitUntil([&] { return quick->IsFinished(); }));
    ASSERT_TRUE(WaitUntil([&] { return watch.use_count() == 1; }));  // the thread let go
    EXPECT_GE(quick->SnapshotSolutions().Count(), 2u);
    quick.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(WorkerRelease, ProgramReturningFromMainDuringRunsExitsCleanly) {
    for (int i = 0; i < 3; ++i) {
        const int status = std::system(EXIT_DURING_RUN_PROGRAM);
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
}

// ---- Genetic runs ----

namespace {

AlgParameters SmallGenetic(int iterations, int sleepMs) {
    AlgParameters p = Params("x*x+y*y", {{"x", -5, 5}, {"y", -5, 5}});
    p.PopSize = 20;
    p.Iterations = iterations;
    p.GeneticSleep = sleepMs;
    return p;
}

// The same genetic run made synchronously from the same seed.
GeneticProgress GeneticReference(AlgParameters p, std::uint32_t seed) {
    GeneticProgress progress;
    RecordingRunControl control(seed);
    RunGenetic(progress, p, control);
    return progress;
}

}  // namespace

TEST(WorkerGenetic, SnapshotsShowTheHistoryAndThePopulation) {
    const AlgParameters p = SmallGenetic(30, 0);
    const GeneticProgress reference = GeneticReference(p, 9);
    ASSERT_EQ(reference.History.Count(), 30u);
    Worker w = StartSeeded(p, Genetic, 9);
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
    EXPECT_TRUE(SameList(w->SnapshotSolutions(), reference.History));
    EXPECT_TRUE(SameList(w->SnapshotPopulation(), *reference.Population));
}

TEST(WorkerGenetic, StopDuringTheFirstSleepLeavesTheInitialPopulation) {
    const AlgParameters p = SmallGenetic(50, 10000);
    Worker w = StartSeeded(p, Genetic, 4);
    ASSERT_TRUE(WaitUntil([&] { return w->SnapshotPopulation().Count() == 20u; }));
    w->Terminate();
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }, 5s));  // not after the 10 s sleep
    EXPECT_EQ(w->SnapshotSolutions().Count(), 0u);
    const SolutionList population = w->SnapshotPopulation();
    ASSERT_EQ(population.Count(), 20u);
    SolutionList initial;
    AlgParameters q = p;
    initial = CreatePopulation(q, q.PopSize, 4);
    EXPECT_TRUE(SameList(population, initial));
}

TEST(WorkerGenetic, PauseFreezesBothListsAndResumeLosesNothing) {
    const AlgParameters p = SmallGenetic(60, 1);
    const GeneticProgress reference = GeneticReference(p, 12);
    Worker w = StartSeeded(p, Genetic, 12);
    ASSERT_TRUE(WaitUntil([&] { return w->SnapshotSolutions().Count() >= 5; }));
    w->Hold();
    const SolutionList history = w->SnapshotSolutions();
    const SolutionList population = w->SnapshotPopulation();
    ASSERT_TRUE(WaitUntil([&] { return w->IsHeld(); }));
    for (int i = 0; i < 10; ++i) {
        std::this_thread::sleep_for(2ms);
        ASSERT_TRUE(SameList(w->SnapshotSolutions(), history));
        ASSERT_TRUE(SameList(w->SnapshotPopulation(), population));
    }
    EXPECT_FALSE(w->IsFinished());
    w->Resume();
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
    EXPECT_TRUE(SameList(w->SnapshotSolutions(), reference.History));
    EXPECT_TRUE(SameList(w->SnapshotPopulation(), *reference.Population));
}

TEST(WorkerGenetic, PauseThenStopEndsWithoutResume) {
    AlgParameters p = SmallGenetic(100000, 1);
    Worker w = StartSeeded(p, Genetic, 2);
    ASSERT_TRUE(WaitUntil([&] { return w->SnapshotSolutions().Count() >= 1; }));
    w->Hold();
    ASSERT_TRUE(WaitUntil([&] { return w->IsHeld(); }));
    w->Terminate();
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
}

TEST(WorkerGenetic, TightSnapshotsWhileReplacingThePopulation) {
    // No delay: the population is replaced several times per generation while this thread
    // copies both lists in a tight loop for a bounded time.
    AlgParameters p = SmallGenetic(1000000, 0);
    p.PopSize = 200;
    Worker w = StartSeeded(p, Genetic, 6);
    SolutionList previous;
    SolutionList gathered;  // the history put together from its tails alone
    int copies = 0;
    std::size_t grew = 0;
    const auto until = std::chrono::steady_clock::now() + 300ms;
    while (std::chrono::steady_clock::now() < until) {
        SolutionList history = w->SnapshotSolutions();
        const SolutionList population = w->SnapshotPopulation();
        ASSERT_TRUE(IsPrefix(previous, history)) << copies;
        ASSERT_LE(population.Count(), 200u);
        for (const SolutionView s : population) ASSERT_EQ(s.Values.size(), 2u);
        for (const SolutionView s : history) ASSERT_EQ(s.Values.size(), 2u);
        grew += history.Count() > previous.Count();
        previous = std::move(history);
        for (const SolutionView s : w->SnapshotSolutionsFrom(gathered.Count())) gathered.Append(s);
        ++copies;
    }
    w->Terminate();
    ASSERT_TRUE(WaitUntil([&] { return w->IsFinished(); }));
    EXPECT_TRUE(IsPrefix(previous, w->SnapshotSolutions()));
    for (const SolutionView s : w->SnapshotSolutionsFrom(gathered.Count())) gathered.Append(s);
    EXPECT_TRUE(SameList(gathered, w->SnapshotSolutions()));
    EXPECT_GT(copies, 10);
    EXPECT_GT(grew, 2u);
}
