#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/runs/RunOutcome.h"

namespace quarmel {

// Whether a value is at least as good as the target; not a number never is.
bool Reaches(double value, double target, bool maximize);

// Best, median and worst of the runs' best values, better first in the problem's direction; a
// value that is not a number counts as the worst. Mean and sample standard deviation over all
// of them (not a number when one is not; no deviation for a single run).
struct RunStatistics {
    std::optional<double> Best;
    std::optional<double> Median;  // the mean of the two middle values for an even count
    std::optional<double> Worst;
    std::optional<double> Mean;
    std::optional<double> Deviation;
};
RunStatistics Statistics(std::vector<float> bests, bool maximize);

// The runs of a series against a target: how many reached it and the expected running time, the
// evaluations of all runs (up to the target for those that reached it) divided by the number
// that reached it (none when none did).
struct TargetTally {
    std::size_t Runs = 0;
    std::size_t Reached = 0;
    unsigned long long Evaluations = 0;
    void Add(const RunOutcome& run);
    double ReachedShare() const;
    std::optional<double> ExpectedRunningTime() const;
};

}  // namespace quarmel
