#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/Solution.h"

namespace quarmel {

// How a run ended: of itself, at the first check after its budget was used up, or at the first
// check after it was cancelled.
enum class RunEnd { Finished, StoppedByBudget, Cancelled };
const char* RunEndName(RunEnd end);  // finished, stopped-by-budget, cancelled

// The evaluation budget every run gets unless --max-evaluations says otherwise: far above what
// most runs that end of themselves need (a genetic run of the largest population over the most
// iterations makes some 2*10^6; a local search makes 2^n a step on n variables), yet it ends a
// run that would never end after some seconds.
constexpr unsigned long long kDefaultMaxEvaluations = 100000000ULL;

// What a run may use and what is recorded of it.
struct RunLimits {
    unsigned long long MaxEvaluations = 0;  // 0: no limit
    std::optional<double> MaxSeconds;
    std::optional<double> Target;  // a value to reach, in the problem's direction
    bool KeepPath = false;         // keep the path and the population in the outcome
    bool KeepTrace = false;        // keep every published step's evaluations and values
    // When set and true, the run ends at its next check (an experiment's Cancel); not owned.
    const std::atomic<bool>* Cancel = nullptr;
};

// A published step: the evaluations made up to its publishing, its value and the best so far.
struct TraceStep {
    unsigned long long Evaluations = 0;
    float Value = 0;
    float BestSoFar = 0;
};

// One run of an algorithm, synchronous and seeded.
struct RunOutcome {
    std::uint32_t Seed = 0;
    SolutionList Solutions;   // the run's path; the history for the genetic algorithm (KeepPath)
    SolutionList Population;  // the final population (genetic algorithm only, KeepPath)
    std::size_t Steps = 0;    // the path's length
    unsigned long long Evaluations = 0;
    unsigned long long Undefined = 0;  // evaluations the formula was undefined at (counted as 0)
    double Seconds = 0.0;              // the processor time of the run's thread
    std::optional<float> Best;         // best function value in the problem's direction
    RunEnd Ended = RunEnd::Finished;
    // Evaluations made when the first step reaching the target was published.
    std::optional<unsigned long long> EvaluationsToTarget;
    std::vector<TraceStep> Trace;  // with KeepTrace
};

}  // namespace quarmel
