#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/runs/RunOutcome.h"
#include "app/stats/RunStatistics.h"
#include "app/tables/SummaryTable.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// Runs the algorithm on `params`, the run's own settings and problem (the caller copies them on
// its own thread; this may run on any).
RunOutcome RunOnce(AlgorithmKind kind, AlgParameters& params, std::uint32_t seed,
                   const RunLimits& limits);

// The totals of every run of an invocation, for the standard-error line.
struct BatchTotals {
    std::uint32_t FirstSeed = 0;
    std::size_t Runs = 0;
    std::size_t Solutions = 0;
    unsigned long long Evaluations = 0;
    double Seconds = 0.0;
    std::optional<float> Best;
    std::size_t StoppedByBudget = 0;
    void Add(const RunOutcome& run, bool maximize);
};

// The standard-error line: algorithm, first seed, the count when not 1, totals and the best of
// the best values.
std::string SummaryLine(AlgorithmKind kind, const BatchTotals& totals);

}  // namespace quarmel
