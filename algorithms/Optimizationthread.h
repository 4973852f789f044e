#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "algorithms/GenerationStore.h"
#include "algorithms/Globalsearch.h"
#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// One run of one algorithm on a thread of its own. The window starts it with a copy of its
// parameters, copies the published lists from time to time, holds and resumes it for Pause and
// asks it to terminate on Stop or when the run has ended. The window never waits for it: the
// worker's state is shared between the window's handle and the running thread and released when
// the last of the two lets go.
class OptimizationThread {
  public:
    // For tests and tools: a fixed seed instead of the clock, and a hook run on the worker's
    // thread before the body looks at its termination request.
    struct Options {
        std::optional<std::uint32_t> seed;
        std::function<void()> onThreadStart;
    };

    // Copies the parameters on the calling thread (the copy's parser is deep-copied, so nothing
    // of the parser library is shared between threads) and starts the run once the worker is
    // complete. A kind outside 0 to 3 runs nothing and finishes at once.
    static std::shared_ptr<OptimizationThread> Start(const AlgParameters& params,
                                                     AlgorithmKind kind);
    static std::shared_ptr<OptimizationThread> Start(const AlgParameters& params,
                                                     AlgorithmKind kind, Options options);

    OptimizationThread(const OptimizationThread&) = delete;
    OptimizationThread& operator=(const OptimizationThread&) = delete;
    ~OptimizationThread();

    // Copies of the published lists, each taken whole under the worker's lock: the local
    // searches' WorkList, or the genetic history; the genetic population, or an empty list for
    // the local searches.
    SolutionList SnapshotSolutions() const;
    SolutionList SnapshotPopulation() const;
    // The published solutions from position `from` on, copied under the worker's lock (empty
    // when there are no more). A run's solution list only ever grows, so a window that holds the
    // first `from` of them takes only the rest.
    SolutionList SnapshotSolutionsFrom(std::size_t from) const;
    // The evaluations the run had made when it published each solution, from position `from`
    // on, as the batch runner's trace counts them; at least as many as a snapshot of the
    // solutions taken before it holds.
    std::vector<unsigned long long> SnapshotEvaluationsFrom(std::size_t from) const;
    // A number that tells this worker's run from every other run of the process (never 0).
    std::uint64_t RunNumber() const { return runNumber_; }
    // True once the run has ended; set after the last change of the lists, so a snapshot taken
    // after this returned true is the run's final state.
    bool IsFinished() const;
    // Where simulated annealing is: its stage (0 before the first), temperature and phase.
    struct AnnealingStage {
        long long Number = 0;
        double Temperature = 0.0;
        bool Heating = true;
    };
    AnnealingStage Stage() const;
    // Evaluations the run has made, as of its last published step (all of them once it has
    // finished), and how many of them were undefined (the formula's value counted as 0).
    unsigned long long Evaluations() const;
    unsigned long long UndefinedEvaluations() const;
    // A genetic run's population after every generation, for replaying the run: handed over
    // once (null for the local searches and on later calls); the run records no more after it.
    std::shared_ptr<const GenerationStore> TakeGenerations();
    // The processor time the run's thread has spent in the algorithm, in seconds, as of the same
    // moment: pauses, the delays and the window's display are not in it.
    double CpuSeconds() const;

    // The worker's own stop request, which its algorithm reads as the stop request (set
    // together with the window's flag, so a new run's clearing of that flag cannot revive this
    // worker). Also ends a sleep and opens the pause gate: a held worker ends too.
    void Terminate();
    bool TerminationRequested() const;

    // Pause: once Hold returns the published lists do not change until Resume; the worker halts
    // at its next move, publish or sleep, holding no lock that the snapshots need.
    void Hold();
    void Resume();
    // Whether the worker is halted at its pause gate right now.
    bool IsHeld() const;

  private:
    class Control;

    OptimizationThread(const AlgParameters& params, AlgorithmKind kind, Options options);
    void Execute();
    // Waits, with `lock` held on entry and exit, until the run is not paused or is stopped.
    void WaitAtGate(std::unique_lock<std::mutex>& lock);
    // Makes the run's counts so far readable by the window. Reading the thread's processor
    // clock is a system call (about half a microsecond, more than a step of a small problem), so
    // between publishes it is read at most once a millisecond; `last` reads it always.
    void StoreCounts(bool last = false);
    // Gives each solution published by the last change the evaluations made so far (lock held).
    void CountPublishedEvaluations();
    // Called under the lock after every published change: a generation that has just ended
    // (the history grew) gets its population recorded.
    void RecordGeneration();

    std::atomic<bool> finished_{false};
    const std::uint64_t runNumber_;
    const AlgorithmKind kind_;
    AlgParameters params_;
    const unsigned long long startEvaluations_;
    const unsigned long long startUndefined_;
    std::atomic<unsigned long long> evaluations_{0};
    std::atomic<unsigned long long> undefined_{0};
    double cpuStart_ = 0.0;  // read and written on the worker's thread only
    std::chrono::steady_clock::time_point cpuReadAt_{};  // likewise
    std::atomic<double> cpuSeconds_{0.0};
    GeneticProgress progress_;                              // filled only by a genetic run
    SolutionList workList_;                                 // filled only by the local searches
    std::vector<unsigned long long> publishedEvaluations_;  // one per published solution
    // A genetic run's populations, until the window takes them.
    std::shared_ptr<GenerationStore> generations_;
    const Options options_;

    // Guards the published lists and the pause state; the gate and sleeps wait on it.
    mutable std::mutex lock_;
    std::condition_variable wake_;
    bool paused_ = false;
    AnnealingStage stage_;
    int waitingAtGate_ = 0;
    std::atomic<bool> pausedHint_{false};  // lets an unpaused gate pass without the lock
    std::atomic<bool> stop_{false};

    std::unique_ptr<Control> control_;
};

}  // namespace quarmel
