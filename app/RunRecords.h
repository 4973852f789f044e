#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// What the window keeps of a finished run for the runs table.
struct RunRecord {
    AlgorithmKind Kind = Greedy;
    std::string Settings;  // the settings that differ from the start settings
    std::uint32_t Seed = 0;
    std::optional<float> Best;  // best function value in the problem's direction
    std::size_t Solutions = 0;
    unsigned long long Evaluations = 0;
    double Seconds = 0.0;
};

// A finished run's record from its published list.
RunRecord RecordRun(AlgorithmKind kind, const AlgParameters& params, std::uint32_t seed,
                    const SolutionList& solutions, unsigned long long evaluations, double seconds);

// The runs as CSV: "algorithm,settings,seed,best,solutions,evaluations,seconds" and a row per
// run; numbers with "." (9 significant digits), settings quoted.
std::string RunsCsv(const std::vector<RunRecord>& runs);

// The cells of one run's row in the runs table, in the CSV's column order.
std::vector<std::string> RunCells(const RunRecord& run);

// A run's duration as the status line shows it: "0:07", "12:34", "1:02:03".
std::string ElapsedText(double seconds);

}  // namespace quarmel
