#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "app/runs/BatchRun.h"

namespace quarmel {

// The figures an experiment shows of one algorithm's runs (RunOutcome with KeepTrace for the
// band, with a Target for the reaching figures). A best value that is not a number counts as the
// worst: as infinity in the problem's worse direction.

// The p-quantile (0 <= p <= 1) of values sorted ascending, by linear interpolation between the
// order statistics at h = (n - 1) p (the common "type 7" definition: the median of an even count
// is the mean of the two middle values, as the batch summary's). Not a number for no values.
double Quantile(const std::vector<double>& sorted, double p);

// Evaluation counts spaced evenly on a log scale, `perDecade` to a power of ten, from 1 up to and
// including `last` (rounded to whole evaluations, repeats dropped); empty for `last` 0.
std::vector<unsigned long long> LogGrid(unsigned long long last, int perDecade);

// The runs' best so far at one evaluation count: the median and the interquartile band.
struct BandPoint {
    unsigned long long Evaluations = 0;
    double Q1 = 0, Median = 0, Q3 = 0;
};

// The band at each grid point where every run has published a step. A run's value at a point is
// the best so far of its last step published by then; a run that ended before the point keeps
// its final best so far.
std::vector<BandPoint> BestSoFarBand(const std::vector<RunOutcome>& runs,
                                     const std::vector<unsigned long long>& grid, bool maximize);

// The empirical distribution of the evaluations needed to reach the target: at each count at
// which a run reached it, the share of all runs that had reached it by then. It never passes the
// reached share; runs that did not reach the target keep it below 1.
struct EcdfStep {
    unsigned long long Evaluations = 0;
    double Share = 0;
};
std::vector<EcdfStep> TargetEcdf(const std::vector<RunOutcome>& runs);

// The box of the runs' final best values (runs without a step left out).
struct BoxFigures {
    double Min = 0, Q1 = 0, Median = 0, Q3 = 0, Max = 0;
};
std::optional<BoxFigures> FinalBox(const std::vector<RunOutcome>& runs, bool maximize);

// One algorithm's row of the experiment table. Reached share and expected running time as the
// batch summary's --target computes them; median by Quantile; mean and sample standard deviation
// as the batch summary's; Seconds the runs' processor time added up.
struct ExperimentRow {
    std::size_t Runs = 0;
    double ReachedShare = 0;
    std::optional<double> ExpectedRunningTime;
    std::optional<double> Median;
    std::optional<double> Mean;
    std::optional<double> Deviation;
    double MeanEvaluations = 0;
    double Seconds = 0;
};
ExperimentRow SummarizeAlgorithm(const std::vector<RunOutcome>& runs, bool maximize);

}  // namespace quarmel
