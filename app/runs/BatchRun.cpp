#include "app/runs/BatchRun.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <utility>

#include "algorithms/AlgorithmTable.h"
#include "algorithms/RunAlgorithm.h"
#include "app/runs/BatchRunControl.h"
#include "app/stats/Verdicts.h"
#include "app/tables/CsvTables.h"
#include "app/text/NumberText.h"
#include "app/text/RunTexts.h"
#include "model/Improvement.h"

namespace quarmel {

namespace {

// The processor time of the calling thread: a run's own, whatever else runs beside it.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace

const char* RunEndName(RunEnd end) {
    switch (end) {
        case RunEnd::Finished:
            return "finished";
        case RunEnd::StoppedByBudget:
            return "stopped-by-budget";
        case RunEnd::Cancelled:
            break;
    }
    return "cancelled";
}

RunOutcome RunOnce(AlgorithmKind kind, AlgParameters& params, std::uint32_t seed,
                   const RunLimits& limits) {
    RunOutcome out;
    out.Seed = seed;
    const bool maximize = params.Maximize();
    SolutionList path;
    GeneticProgress progress;
    std::size_t step = 0;
    std::optional<float> bestSoFar;
    auto onStep = [&](SolutionView s, unsigned long long evaluations) {
        ++step;
        if (!bestSoFar || Improves(*bestSoFar, s.Value, maximize)) bestSoFar = s.Value;
        if (limits.Target && !out.EvaluationsToTarget &&
            Reaches(*bestSoFar, *limits.Target, maximize)) {
            out.EvaluationsToTarget = evaluations;
        }
        if (limits.KeepTrace) out.Trace.push_back({evaluations, s.Value, *bestSoFar});
    };
    const bool population = IsAlgorithm(kind) && AlgorithmOf(kind).Population;
    const SolutionList& steps = population ? progress.History : path;
    BatchRunControl control(seed, params, steps,
                            limits.MaxEvaluations ? limits.MaxEvaluations : ~0ULL,
                            limits.MaxSeconds, onStep, limits.Cancel);
    const unsigned long long undefinedBefore = params.UndefinedEvaluations();
    const double start = ThreadSeconds();
    RunAlgorithm(kind, params, path, progress, control);
    out.Seconds = ThreadSeconds() - start;
    out.Undefined = params.UndefinedEvaluations() - undefinedBefore;
    out.Evaluations = control.Evaluations();
    out.Ended = control.Cancelled()         ? RunEnd::Cancelled
                : control.StoppedByBudget() ? RunEnd::StoppedByBudget
                                            : RunEnd::Finished;
    out.Steps = steps.Count();
    if (!steps.Empty()) out.Best = steps.Best(maximize).Value;
    if (limits.KeepPath) {
        out.Solutions = population ? std::move(progress.History) : std::move(path);
        out.Population = *progress.Population;
    }
    return out;
}

void BatchTotals::Add(const RunOutcome& run, bool maximize) {
    if (Runs == 0) FirstSeed = run.Seed;
    ++Runs;
    Solutions += run.Steps;
    Evaluations += run.Evaluations;
    Seconds += run.Seconds;
    if (run.Best && (!Best || Improves(*Best, *run.Best, maximize))) Best = *run.Best;
    if (run.Ended == RunEnd::StoppedByBudget) ++StoppedByBudget;
}

std::string SummaryLine(AlgorithmKind kind, const BatchTotals& totals) {
    std::string line = std::string("algorithm=") + AlgorithmName(kind) +
                       " seed=" + std::to_string(totals.FirstSeed);
    if (totals.Runs != 1) line += " runs=" + std::to_string(totals.Runs);
    line += " solutions=" + std::to_string(totals.Solutions) +
            " evaluations=" + std::to_string(totals.Evaluations);
    line += " best=" + (totals.Best ? FloatText(*totals.Best) : std::string("none"));
    line += " seconds=" + SecondsText(totals.Seconds);
    return line;
}

}  // namespace quarmel
