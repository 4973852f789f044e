#include "app/stats/RunStatistics.h"

#include <algorithm>
#include <cmath>

#include "model/Improvement.h"

namespace quarmel {

bool Reaches(double value, double target, bool maximize) {
    return maximize ? value >= target : value <= target;
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

}  // namespace quarmel
