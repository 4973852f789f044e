#include "app/stats/ExperimentStats.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quarmel {

namespace {

// A value as it sorts: not a number as the worst.
double Sortable(double v, bool maximize) {
    if (!std::isnan(v)) return v;
    const double inf = std::numeric_limits<double>::infinity();
    return maximize ? -inf : inf;
}

std::vector<double> FinalBests(const std::vector<RunOutcome>& runs, bool maximize) {
    std::vector<double> bests;
    for (const RunOutcome& r : runs) {
        if (r.Best) bests.push_back(Sortable(*r.Best, maximize));
    }
    std::sort(bests.begin(), bests.end());
    return bests;
}

}  // namespace

double Quantile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return std::numeric_limits<double>::quiet_NaN();
    const double h = (sorted.size() - 1) * p;
    const auto below = static_cast<std::size_t>(std::floor(h));
    if (below + 1 >= sorted.size()) return sorted.back();
    const double f = h - below;
    // Weighted this way, halfway is (a + b) / 2 exactly.
    return f == 0 ? sorted[below] : (1 - f) * sorted[below] + f * sorted[below + 1];
}

std::vector<unsigned long long> LogGrid(unsigned long long last, int perDecade) {
    std::vector<unsigned long long> grid;
    if (last == 0 || perDecade < 1) return grid;
    for (int i = 0;; ++i) {
        const auto e = static_cast<unsigned long long>(
            std::llround(std::pow(10.0, static_cast<double>(i) / perDecade)));
        if (e >= last) break;
        if (grid.empty() || grid.back() != e) grid.push_back(e);
    }
    grid.push_back(last);
    return grid;
}

std::vector<BandPoint> BestSoFarBand(const std::vector<RunOutcome>& runs,
                                     const std::vector<unsigned long long>& grid, bool maximize) {
    std::vector<BandPoint> band;
    if (runs.empty()) return band;
    std::vector<std::size_t> next(runs.size(), 0);  // each run's first step past the point
    std::vector<double> values(runs.size());
    for (unsigned long long e : grid) {
        bool all = true;
        for (std::size_t r = 0; r < runs.size(); ++r) {
            const std::vector<TraceStep>& trace = runs[r].Trace;
            while (next[r] < trace.size() && trace[next[r]].Evaluations <= e) ++next[r];
            if (next[r] == 0) {
                all = false;
            } else {
                values[r] = Sortable(trace[next[r] - 1].BestSoFar, maximize);
            }
        }
        if (!all) continue;
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        band.push_back({e, Quantile(sorted, 0.25), Quantile(sorted, 0.5), Quantile(sorted, 0.75)});
    }
    return band;
}

std::vector<EcdfStep> TargetEcdf(const std::vector<RunOutcome>& runs) {
    std::vector<unsigned long long> reached;
    for (const RunOutcome& r : runs) {
        if (r.EvaluationsToTarget) reached.push_back(*r.EvaluationsToTarget);
    }
    std::sort(reached.begin(), reached.end());
    std::vector<EcdfStep> steps;
    for (std::size_t i = 0; i < reached.size(); ++i) {
        const double share = static_cast<double>(i + 1) / runs.size();
        if (!steps.empty() && steps.back().Evaluations == reached[i]) {
            steps.back().Share = share;
        } else {
            steps.push_back({reached[i], share});
        }
    }
    return steps;
}

std::optional<BoxFigures> FinalBox(const std::vector<RunOutcome>& runs, bool maximize) {
    const std::vector<double> bests = FinalBests(runs, maximize);
    if (bests.empty()) return std::nullopt;
    return BoxFigures{bests.front(), Quantile(bests, 0.25), Quantile(bests, 0.5),
                      Quantile(bests, 0.75), bests.back()};
}

ExperimentRow SummarizeAlgorithm(const std::vector<RunOutcome>& runs, bool maximize) {
    ExperimentRow row;
    TargetTally target;
    std::vector<float> bests;
    unsigned long long evaluations = 0;
    for (const RunOutcome& r : runs) {
        target.Add(r);
        if (r.Best) bests.push_back(*r.Best);
        evaluations += r.Evaluations;
        row.Seconds += r.Seconds;
    }
    row.Runs = runs.size();
    row.ReachedShare = target.ReachedShare();
    row.ExpectedRunningTime = target.ExpectedRunningTime();
    const RunStatistics s = Statistics(bests, maximize);
    row.Mean = s.Mean;
    row.Deviation = s.Deviation;
    row.Median = s.Median;
    if (!runs.empty()) row.MeanEvaluations = static_cast<double>(evaluations) / runs.size();
    return row;
}

}  // namespace quarmel
