#pragma once

#include <optional>
#include <string>

#include "app/examples/ExampleCatalogue.h"
#include "app/runs/BatchRun.h"

namespace quarmel {

// The per-run tables of an experiment, as the batch runner prints them and the window exports
// them, so that both give the same bytes for the same runs. `series` is a run's series fields
// (SeriesFields).

// The runs table: the run row (RunRowHeader), with a target the evaluations it took to reach it,
// then the gap to the known optimum (empty without one), the evaluations the formula was
// undefined at and, with a target, the run's target (so that a summary of the table can check
// the target it is asked for).
std::string RunsTableHeader(bool target);
std::string RunsTableRow(const std::string& series, const RunOutcome& run,
                         std::optional<double> target, const std::optional<ExampleProblem>& known,
                         bool maximize);

// The long table: one row per published step (the run must keep its trace): the series fields,
// the seed, the step (from 1), the evaluations made up to its publishing, its value and the best
// value so far.
std::string LongTableHeader();
std::string LongTableRows(const std::string& series, const RunOutcome& run);

}  // namespace quarmel
