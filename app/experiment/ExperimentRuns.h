#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/runs/BatchRun.h"
#include "model/Algparameters.h"

namespace quarmel {

// One run of an experiment: an algorithm on a settings-and-problem, a seed and a budget.
struct ExperimentRun {
    AlgorithmKind Algorithm = Greedy;
    const AlgParameters* Params = nullptr;  // copied before the run; outlives RunExperiment
    std::uint32_t Seed = 0;
    RunLimits Limits;  // its Cancel is set by RunExperiment
};

// What another thread may read of a running experiment, and its way to end it early.
struct ExperimentControl {
    // Set from any thread: no further run starts and the running ones end at their next check.
    std::atomic<bool> Cancel{false};
    std::atomic<std::size_t> Done{0};   // runs finished, in any order
    std::atomic<std::size_t> Total{0};  // runs of the experiment, set when it starts
};

using ExperimentEmit = std::function<void(std::size_t index, RunOutcome run)>;

// Makes the runs on `jobs` threads (the batch runner's engine) and hands each to `emit` on the
// calling thread, in the order of `runs`. A run's outcome depends only on its own entry, so the
// results are the same for any number of threads. After Cancel only whole runs are handed on: the
// ones before the first run that was cancelled or never started. Returns how many were handed on.
std::size_t RunExperiment(const std::vector<ExperimentRun>& runs, int jobs,
                          ExperimentControl& control, const ExperimentEmit& emit);

}  // namespace quarmel
