#pragma once

#include <optional>
#include <string>

#include "app/datafile/DataFile.h"
#include "app/runs/BatchRun.h"
#include "cli/BatchPlan.h"
#include "cli/BatchWriter.h"

namespace quarmel {

// What the runs of a plan leave behind the writer's output.
struct BatchResult {
    BatchTotals Totals;
    std::optional<RunOutcome> Best;  // the run --out saves (kept only with --out)
};

// Makes the plan's runs on its threads and hands each to the writer in order, between Begin and
// End.
BatchResult RunBatch(const BatchPlan& plan, BatchWriter& writer);

// Whether `run` takes the place of `best` as the run --out saves: the first run does; a later
// one when its best value improves on the kept one's, so the first of equals stays and a run
// without a number never displaces one with a number.
bool ReplacesBest(const RunOutcome& run, const std::optional<RunOutcome>& best, bool maximize);

// The standard-error line for runs the budget stopped.
std::string BudgetLine(const BatchPlan& plan, const BatchTotals& totals);

// Saves the problem with the run's path to --out's file, as the window's Save would.
SaveResult SaveBestRun(const BatchPlan& plan, const RunOutcome& best);

}  // namespace quarmel
