#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/examples/ExampleCatalogue.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// What the window keeps of a finished run for the runs table.
struct RunRecord {
    AlgorithmKind Kind = Greedy;
    std::string Settings;  // what the run's algorithm uses and differs from the start settings
    std::string Problem;   // the function's name
    std::string Series;    // the runs table's series fields (SeriesFields)
    std::uint32_t Seed = 0;
    std::optional<float> Best;  // best function value in the problem's direction
    std::size_t Solutions = 0;
    unsigned long long Evaluations = 0;
    unsigned long long Undefined = 0;  // of them where the formula was undefined (counted as 0)
    double Seconds = 0.0;
    bool Stopped = false;  // ended by Stop rather than by itself
    // The best value's distance to a known optimum; empty when none is known.
    std::string GapText;
    std::optional<ExampleProblem> Known;  // what the catalogue knows of the problem, if anything
    bool Maximize = false;
};

// A finished run's record from its published list; `problemFile` is the runs table's problem
// column (ProblemFileColumn: empty when the function does not come from a file as it is).
RunRecord RecordRun(AlgorithmKind kind, const AlgParameters& params, const std::string& problem,
                    const std::string& problemFile, std::uint32_t seed,
                    const SolutionList& solutions, unsigned long long evaluations, double seconds,
                    bool stopped);

// The runs as an experiment's runs table without a target (RunsTableHeader, RunsTableRow): the
// same columns by the same code, with the gap to a known optimum and the undefined count.
std::string RunsCsv(const std::vector<RunRecord>& runs);

// The cells of one run's row in the window's runs table: algorithm, settings ("start settings"
// when none differs), seed, best value ("none" without one), solutions, evaluations, seconds;
// numbers as the window writes them, with the decimal comma.
std::vector<std::string> RunCells(const RunRecord& run);

// A run's duration as the status line shows it: "0:07", "12:34", "1:02:03".
std::string ElapsedText(double seconds);

}  // namespace quarmel
