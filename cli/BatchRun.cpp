#include "BatchRun.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "BatchOptions.h"
#include "BatchRunControl.h"
#include "algorithms/RunAlgorithm.h"
#include "app/CsvTables.h"
#include "app/NumberText.h"
#include "app/RunTexts.h"
#include "model/Improvement.h"

namespace quarmel {

namespace {

std::string Number(double v) {
    return PrintfG(v, 9);
}

std::string OptionalNumber(const std::optional<double>& v) {
    return CsvNumber(v);
}

}  // namespace

const char* RunEndName(RunEnd end) {
    return end == RunEnd::Finished ? "finished" : "stopped-by-budget";
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
    auto onStep = [&](const Solution& s, unsigned long long evaluations) {
        ++step;
        if (!bestSoFar || Improves(*bestSoFar, s.Value, maximize)) bestSoFar = s.Value;
        if (limits.Target && !out.EvaluationsToTarget &&
            Reaches(*bestSoFar, *limits.Target, maximize)) {
            out.EvaluationsToTarget = evaluations;
        }
        if (limits.LongPrefix) {
            out.LongRows += *limits.LongPrefix + std::to_string(step) + "," +
                            std::to_string(evaluations) + "," + Number(s.Value) + "," +
                            Number(*bestSoFar) + "\n";
        }
    };
    const SolutionList& steps = kind == Genetic ? progress.History : path;
    BatchRunControl control(seed, params, steps,
                            limits.MaxEvaluations ? limits.MaxEvaluations : ~0ULL,
                            limits.MaxSeconds, onStep);
    const auto start = std::chrono::steady_clock::now();
    RunAlgorithm(kind, params, path, progress, control);
    out.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out.Evaluations = control.Evaluations();
    out.Ended = control.StoppedByBudget() ? RunEnd::StoppedByBudget : RunEnd::Finished;
    out.Steps = steps.Count();
    if (!steps.Empty()) out.Best = steps.Best(maximize).Value;
    if (limits.KeepPath) {
        out.Solutions = kind == Genetic ? std::move(progress.History) : std::move(path);
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

void SeriesSummary::Add(const RunOutcome& run) {
    ++runs_;
    seconds_ += run.Seconds;
    if (run.Best) bests_.push_back(*run.Best);
    if (run.EvaluationsToTarget) {
        ++reached_;
        evaluationsForTarget_ += *run.EvaluationsToTarget;
    } else {
        evaluationsForTarget_ += run.Evaluations;
    }
}

std::string SeriesSummary::Header(bool target) {
    return std::string("algorithm,settings,problem,runs,best,median,worst,mean,sd,seconds") +
           (target ? ",target,reached,ert\n" : "\n");
}

std::string SeriesSummary::Row(bool maximize, std::optional<double> target) const {
    const RunStatistics s = Statistics(bests_, maximize);
    std::string row = label_ + "," + std::to_string(runs_) + "," + OptionalNumber(s.Best) + "," +
                      OptionalNumber(s.Median) + "," + OptionalNumber(s.Worst) + "," +
                      OptionalNumber(s.Mean) + "," + OptionalNumber(s.Deviation) + "," +
                      SecondsText(seconds_);
    if (target) {
        row += "," + Number(*target) + "," +
               Number(runs_ ? static_cast<double>(reached_) / runs_ : 0.0) + "," +
               (reached_ ? Number(static_cast<double>(evaluationsForTarget_) / reached_)
                         : std::string("none"));
    }
    return row + "\n";
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
    line += " best=" + OptionalNumber(totals.Best);
    line += " seconds=" + SecondsText(totals.Seconds);
    return line;
}

}  // namespace quarmel
