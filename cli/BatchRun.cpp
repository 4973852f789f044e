#include "BatchRun.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <utility>

#include "BatchOptions.h"
#include "app/SolutionsCsv.h"
#include "algorithms/RunAlgorithm.h"
#include "algorithms/RunControl.h"
#include "model/Improvement.h"
#include "app/NumberText.h"

namespace quarmel {

namespace {

std::string Number(double v) {
    return PrintfG(v, 9);
}

// Seconds with three decimals and ".".
std::string Seconds(double seconds) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, seconds, std::chars_format::fixed, 3);
    return std::string(buf, res.ptr);
}

std::string OptionalNumber(const std::optional<double>& v) {
    return v ? Number(*v) : "none";
}

// Better first; a value that is not a number after every number.
bool BetterFirst(double a, double b, bool maximize) {
    if (std::isnan(a)) return false;
    if (std::isnan(b)) return true;
    return maximize ? a > b : a < b;
}

}  // namespace

RunOutcome RunOnce(AlgorithmKind kind, const AlgParameters& settings, std::uint32_t seed) {
    RunOutcome out;
    out.Seed = seed;
    AlgParameters params = settings;
    const unsigned long long before = params.Evaluations();
    SyncRunControl control(seed);
    const auto start = std::chrono::steady_clock::now();
    GeneticProgress progress;
    RunAlgorithm(kind, params, out.Solutions, progress, control);
    if (kind == Genetic) {
        out.Solutions = std::move(progress.History);
        out.Population = std::move(progress.Population);
    }
    out.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out.Evaluations = params.Evaluations() - before;
    if (!out.Solutions.Empty()) out.Best = out.Solutions.Best(params.Maximize()).Value;
    return out;
}

std::string SummaryLine(AlgorithmKind kind, const std::vector<RunOutcome>& runs, bool maximize) {
    std::size_t solutions = 0;
    unsigned long long evaluations = 0;
    double seconds = 0.0;
    for (const RunOutcome& r : runs) {
        solutions += r.Solutions.Count();
        evaluations += r.Evaluations;
        seconds += r.Seconds;
    }
    std::string line = std::string("algorithm=") + AlgorithmName(kind) +
                       " seed=" + std::to_string(runs.empty() ? 0 : runs.front().Seed);
    if (runs.size() != 1) line += " runs=" + std::to_string(runs.size());
    const std::optional<double> best = Statistics(runs, maximize).Best;
    line +=
        " solutions=" + std::to_string(solutions) + " evaluations=" + std::to_string(evaluations);
    line += " best=" + OptionalNumber(best);
    line += " seconds=" + Seconds(seconds);
    return line;
}

RunStatistics Statistics(const std::vector<RunOutcome>& runs, bool maximize) {
    std::vector<double> bests;
    for (const RunOutcome& r : runs) {
        if (r.Best) bests.push_back(*r.Best);
    }
    RunStatistics s;
    if (bests.empty()) return s;
    std::stable_sort(bests.begin(), bests.end(),
                     [maximize](double a, double b) { return BetterFirst(a, b, maximize); });
    s.Best = bests.front();
    s.Worst = bests.back();
    const std::size_t n = bests.size();
    s.Median = n % 2 ? bests[n / 2] : (bests[n / 2 - 1] + bests[n / 2]) / 2.0;
    return s;
}

std::string RunsTable(const std::vector<RunOutcome>& runs, bool maximize) {
    std::string out = "seed,best,solutions,evaluations\n";
    double seconds = 0.0;
    for (const RunOutcome& r : runs) {
        out += std::to_string(r.Seed) + "," +
               OptionalNumber(r.Best ? std::optional<double>(*r.Best) : std::nullopt) + "," +
               std::to_string(r.Solutions.Count()) + "," + std::to_string(r.Evaluations) + "\n";
        seconds += r.Seconds;
    }
    const RunStatistics s = Statistics(runs, maximize);
    out += "\nbest,median,worst,seconds\n";
    out += OptionalNumber(s.Best) + "," + OptionalNumber(s.Median) + "," + OptionalNumber(s.Worst) +
           "," + Seconds(seconds) + "\n";
    return out;
}

std::size_t BestRun(const std::vector<RunOutcome>& runs, bool maximize) {
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (!runs[i].Best) continue;
        if (!best || BetterFirst(*runs[i].Best, *runs[*best].Best, maximize)) best = i;
    }
    return best.value_or(0);
}

}  // namespace quarmel
