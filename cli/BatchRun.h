#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Algparameters.h"
#include "app/SolutionsCsv.h"
#include "model/Solution.h"

namespace quarmel {

// One run of an algorithm, synchronous and seeded, on its own copy of the parameters.
struct RunOutcome {
    std::uint32_t Seed = 0;
    SolutionList Solutions;   // the run's path; the history for the genetic algorithm
    SolutionList Population;  // the final population (genetic algorithm only)
    unsigned long long Evaluations = 0;
    double Seconds = 0.0;
    std::optional<float> Best;  // best function value in the problem's direction
};

RunOutcome RunOnce(AlgorithmKind kind, const AlgParameters& params, std::uint32_t seed);

// The standard-error line of a run, or of a series of runs (first seed, count, totals, and the
// best of the best values).
std::string SummaryLine(AlgorithmKind kind, const std::vector<RunOutcome>& runs, bool maximize);

// Best, median and worst of the runs' best values, better first in the problem's direction; a
// value that is not a number counts as the worst. Runs without solutions are left out.
struct RunStatistics {
    std::optional<double> Best;
    std::optional<double> Median;  // the mean of the two middle values for an even count
    std::optional<double> Worst;
};
RunStatistics Statistics(const std::vector<RunOutcome>& runs, bool maximize);

// The standard output of --runs: "seed,best,solutions,evaluations" and a row per run, an empty
// line, then "best,median,worst,seconds" and their row (seconds: all runs together).
std::string RunsTable(const std::vector<RunOutcome>& runs, bool maximize);

// Index of the run with the best best value (the first among equals); 0 when none has one.
std::size_t BestRun(const std::vector<RunOutcome>& runs, bool maximize);

}  // namespace quarmel
