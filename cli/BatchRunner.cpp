#include "cli/BatchRunner.h"

#include <memory>
#include <utility>

#include "app/runs/OrderedRuns.h"
#include "app/text/NumberText.h"
#include "model/Improvement.h"

namespace quarmel {

namespace {

// One run to make: its own copy of the settings and problem, its seed and its limits.
struct RunTask {
    std::unique_ptr<AlgParameters> Params;
    std::uint32_t Seed = 0;
    RunLimits Limits;
};

}  // namespace

BatchResult RunBatch(const BatchPlan& plan, BatchWriter& writer) {
    BatchResult result;
    writer.Begin();
    RunOrdered<RunTask, RunOutcome>(
        plan.RunCount(), plan.Jobs, 4 * static_cast<std::size_t>(plan.Jobs),
        [&](std::size_t i) {
            RunTask task;
            task.Seed = plan.SeedOf(i);
            task.Params = std::make_unique<AlgParameters>(*plan.Series[plan.SeriesOf(i)].Params);
            task.Limits = plan.Limits;
            task.Limits.Target = plan.ProblemOf(plan.SeriesOf(i)).Target;
            writer.Prepare(task.Limits, plan.SeriesOf(i), task.Seed);
            return task;
        },
        [&](RunTask& task) {
            return RunOnce(plan.Algorithm, *task.Params, task.Seed, task.Limits);
        },
        [&](RunOutcome run) {
            const std::size_t series = plan.SeriesOf(result.Totals.Runs);
            const bool maximize = plan.Series[series].Params->Maximize();
            writer.Run(run, series);
            result.Totals.Add(run, maximize);
            if (plan.OutFile && ReplacesBest(run, result.Best, maximize)) {
                result.Best = std::move(run);
            }
        });
    writer.End();
    return result;
}

bool ReplacesBest(const RunOutcome& run, const std::optional<RunOutcome>& best, bool maximize) {
    return !best || (run.Best && (!best->Best || Improves(*best->Best, *run.Best, maximize)));
}

std::string BudgetLine(const BatchPlan& plan, const BatchTotals& totals) {
    std::string budget = std::to_string(plan.Limits.MaxEvaluations) + " evaluations";
    if (plan.Limits.MaxSeconds) budget += " or " + PrintfG(*plan.Limits.MaxSeconds) + " seconds";
    return "quarmel-batch: " + std::to_string(totals.StoppedByBudget) + " of " +
           std::to_string(totals.Runs) + " runs stopped by the budget of " + budget +
           " a run (--max-evaluations, --max-seconds)";
}

SaveResult SaveBestRun(const BatchPlan& plan, const RunOutcome& best) {
    DataFileContents contents;
    const PlannedProblem& problem = plan.Problems.front();
    contents.FunctionName = problem.Opened.FunctionName;
    contents.Formula = problem.Opened.Formula;
    contents.Maximize = problem.Params->Maximize();
    contents.Variables = problem.Params->Variables();
    contents.Solutions = best.Solutions;
    return SaveDataFile(*plan.OutFile, contents);
}

}  // namespace quarmel
