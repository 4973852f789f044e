#include "app/experiment/ExperimentRuns.h"

#include <memory>
#include <utility>

#include "app/runs/OrderedRuns.h"

namespace quarmel {

namespace {

// A run's own copy of its settings and problem, made on the calling thread.
struct ExperimentTask {
    std::unique_ptr<AlgParameters> Params;
    const ExperimentRun* Run = nullptr;
};

}  // namespace

std::size_t RunExperiment(const std::vector<ExperimentRun>& runs, int jobs,
                          ExperimentControl& control, const ExperimentEmit& emit) {
    control.Done = 0;
    control.Total = runs.size();
    std::size_t emitted = 0;
    bool ended = false;  // a cancelled run was met: nothing after it is handed on
    RunOrdered<ExperimentTask, RunOutcome>(
        runs.size(), jobs, 4 * static_cast<std::size_t>(jobs < 1 ? 1 : jobs),
        [&](std::size_t i) {
            ExperimentTask task;
            task.Run = &runs[i];
            // Once cancelled, the remaining runs are not copied, only passed through.
            if (!control.Cancel) task.Params = std::make_unique<AlgParameters>(*runs[i].Params);
            return task;
        },
        [&](ExperimentTask& task) {
            RunOutcome out;
            out.Seed = task.Run->Seed;
            if (!task.Params || control.Cancel) {
                out.Ended = RunEnd::Cancelled;
                return out;
            }
            RunLimits limits = task.Run->Limits;
            limits.Cancel = &control.Cancel;
            out = RunOnce(task.Run->Algorithm, *task.Params, task.Run->Seed, limits);
            ++control.Done;
            return out;
        },
        [&](RunOutcome run) {
            if (ended || run.Ended == RunEnd::Cancelled) {
                ended = true;
                return;
            }
            emit(emitted++, std::move(run));
        });
    return emitted;
}

}  // namespace quarmel
