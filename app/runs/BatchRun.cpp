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

bool Reaches(double value, double target, bool maximize) {
    return maximize ? value >= target : value <= target;
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

RunStatistics Statistics(std::vector<float> bests, bool maximize) {
    RunStatistics s;
    if (bests.empty()) return s;
    const std::size_t n = bests.size();
    double sum = 0.0;
    for (double b : bests) sum += b;
    s.Mean = sum / n;
    if (n > 1) {
        double squares = 0.0;
        for (double b : bests) squares += (b - *s.Mean) * (b - *s.Mean);
        s.Deviation = std::sqrt(squares / (n - 1));
    }
    // Better first; not a number never improves, so it sorts last.
    std::stable_sort(bests.begin(), bests.end(),
                     [maximize](float a, float b) { return Improves(b, a, maximize); });
    s.Best = bests.front();
    s.Worst = bests.back();
    s.Median = n % 2 ? bests[n / 2] : (double{bests[n / 2 - 1]} + bests[n / 2]) / 2.0;
    return s;
}

std::string StatisticText(const std::optional<double>& v) {
    if (!v) return std::string();
    const double a = std::fabs(*v);
    if (std::isfinite(a) && (a > std::numeric_limits<float>::max() ||
                             (a != 0 && a < std::numeric_limits<float>::min()))) {
        return DoubleText(*v);
    }
    return FloatText(static_cast<float>(*v));
}

void TargetTally::Add(const RunOutcome& run) {
    ++Runs;
    if (run.EvaluationsToTarget) {
        ++Reached;
        Evaluations += *run.EvaluationsToTarget;
    } else {
        Evaluations += run.Evaluations;
    }
}

double TargetTally::ReachedShare() const {
    return Runs ? static_cast<double>(Reached) / Runs : 0.0;
}

std::optional<double> TargetTally::ExpectedRunningTime() const {
    if (!Reached) return std::nullopt;
    return static_cast<double>(Evaluations) / Reached;
}

void SeriesSummary::Add(const RunOutcome& run) {
    seconds_ += run.Seconds;
    if (run.Best) bests_.push_back(*run.Best);
    target_.Add(run);
    reaches_.push_back(
        {run.EvaluationsToTarget.has_value(), run.EvaluationsToTarget.value_or(run.Evaluations)});
}

std::string SeriesSummary::Header(bool target) {
    return SeriesHeader() + ",runs,best,median,worst,mean,sd,seconds" +
           (target ? ",target,reached,ert,rank,ert_lo,ert_hi\n" : ",rank\n");
}

std::string SeriesSummary::Row(bool maximize, std::optional<double> target,
                               std::optional<std::size_t> rank) const {
    const RunStatistics s = Statistics(bests_, maximize);
    const auto stat = StatisticText;
    std::string row = fields_ + "," + std::to_string(target_.Runs) + "," + stat(s.Best) + "," +
                      stat(s.Median) + "," + stat(s.Worst) + "," + stat(s.Mean) + "," +
                      stat(s.Deviation) + "," + DoubleText(std::round(seconds_ * 1e6) / 1e6);
    if (target) {
        const std::optional<double> ert = target_.ExpectedRunningTime();
        row += "," + DoubleText(*target) + "," + DoubleText(target_.ReachedShare()) + "," +
               (ert ? DoubleText(*ert) : std::string());
    }
    row += "," + (rank ? std::to_string(*rank) : std::string());
    if (target) {
        const std::optional<ErtInterval> band = BootstrapErt(reaches_);
        row += band ? "," + DoubleText(band->Low) + "," + DoubleText(band->High) : ",,";
    }
    return row + "\n";
}

std::string SummaryRows(const std::vector<const SeriesSummary*>& series, bool maximize,
                        std::optional<double> target) {
    std::vector<std::optional<double>> medians;
    for (const SeriesSummary* s : series) medians.push_back(s->Median(maximize));
    const std::vector<std::optional<std::size_t>> ranks = MedianRanks(medians, maximize);
    std::string rows;
    for (std::size_t i = 0; i < series.size(); ++i) {
        rows += series[i]->Row(maximize, target, ranks[i]);
    }
    return rows;
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
