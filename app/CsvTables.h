#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/Algparameters.h"
#include "model/Problem.h"
#include "model/Solution.h"

namespace quarmel {

// The CSV tables both programs write.

// A field of a CSV row: quoted when it holds a comma, a quote or a line break (either "\n" or
// "\r"), its quotes doubled, so the row reads back as one record.
std::string CsvField(const std::string& text);

// A list as CSV, as the batch runner prints it and the window exports it: a header of the
// variable names then "F" (unless header is false), one row per solution, every number with 9
// significant digits and ".".
std::string SolutionsCsv(const Problem& problem, const SolutionList& solutions, bool header = true);

// A number with 9 significant digits and ".", or "none".
std::string CsvNumber(const std::optional<double>& value);

// The fields that name a series of runs: "algorithm,settings,problem", each a CSV field.
std::string SeriesLabel(AlgorithmKind kind, const std::string& settings,
                        const std::string& problem);

// The runs table, as the batch runner prints it and the window exports it: the header (with the
// evaluations to reach a target when asked), and a row's fields: the series label, the seed, the
// best value, the path's length, the evaluations and how the run ended.
std::string RunRowHeader(bool target);
std::string RunRowFields(const std::string& label, std::uint32_t seed,
                         const std::optional<double>& best, std::size_t solutions,
                         unsigned long long evaluations, const std::string& ended);

}  // namespace quarmel
