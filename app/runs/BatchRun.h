#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/stats/ErtBootstrap.h"
#include "app/tables/CsvTables.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// How a run ended: of itself, at the first check after its budget was used up, or at the first
// check after it was cancelled.
enum class RunEnd { Finished, StoppedByBudget, Cancelled };
const char* RunEndName(RunEnd end);  // finished, stopped-by-budget, cancelled

// The evaluation budget every run gets unless --max-evaluations says otherwise: far above what
// most runs that end of themselves need (a genetic run of the largest population over the most
// iterations makes some 2*10^6; a local search makes 2^n a step on n variables), yet it ends a
// run that would never end after some seconds.
constexpr unsigned long long kDefaultMaxEvaluations = 100000000ULL;

// What a run may use and what is recorded of it.
struct RunLimits {
    unsigned long long MaxEvaluations = 0;  // 0: no limit
    std::optional<double> MaxSeconds;
    std::optional<double> Target;  // a value to reach, in the problem's direction
    bool KeepPath = false;         // keep the path and the population in the outcome
    bool KeepTrace = false;        // keep every published step's evaluations and values
    // When set and true, the run ends at its next check (an experiment's Cancel); not owned.
    const std::atomic<bool>* Cancel = nullptr;
};

// A published step: the evaluations made up to its publishing, its value and the best so far.
struct TraceStep {
    unsigned long long Evaluations = 0;
    float Value = 0;
    float BestSoFar = 0;
};

// One run of an algorithm, synchronous and seeded.
struct RunOutcome {
    std::uint32_t Seed = 0;
    SolutionList Solutions;   // the run's path; the history for the genetic algorithm (KeepPath)
    SolutionList Population;  // the final population (genetic algorithm only, KeepPath)
    std::size_t Steps = 0;    // the path's length
    unsigned long long Evaluations = 0;
    unsigned long long Undefined = 0;  // evaluations the formula was undefined at (counted as 0)
    double Seconds = 0.0;              // the processor time of the run's thread
    std::optional<float> Best;         // best function value in the problem's direction
    RunEnd Ended = RunEnd::Finished;
    // Evaluations made when the first step reaching the target was published.
    std::optional<unsigned long long> EvaluationsToTarget;
    std::vector<TraceStep> Trace;  // with KeepTrace
};

// Runs the algorithm on `params`, the run's own settings and problem (the caller copies them on
// its own thread; this may run on any).
RunOutcome RunOnce(AlgorithmKind kind, AlgParameters& params, std::uint32_t seed,
                   const RunLimits& limits);

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

// A statistic of best values (best, median, worst, mean, sd) as the tables print it: at the
// precision of the values it is made of, the shortest text that reads back as the same float
// (a mean of floats has no more digits worth printing); as the double it is only where no float
// holds it (beyond the float's range, or too small to be told from 0); empty for none.
std::string StatisticText(const std::optional<double>& value);

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

// What the summary of a series keeps of each run: its best value, and for --target whether it
// reached the target and the evaluations it took (all of them when it did not).
class SeriesSummary {
  public:
    explicit SeriesSummary(std::string fields) : fields_(std::move(fields)) {}
    void Add(const RunOutcome& run);

    // The series fields, then runs,best,median,worst,mean,sd,seconds (the runs' processor time),
    // with --target also the target, the share of runs that reached it and the expected running
    // time (TargetTally); then the series' rank within its problem (MedianRanks) and with
    // --target the bootstrap interval of the expected running time (BootstrapErt). A number
    // there is none of is empty.
    static std::string Header(bool target);
    std::string Row(bool maximize, std::optional<double> target,
                    std::optional<std::size_t> rank) const;

    const std::vector<float>& Bests() const { return bests_; }
    std::optional<double> Median(bool maximize) const {
        return Statistics(bests_, maximize).Median;
    }

  private:
    std::string fields_;
    std::vector<float> bests_;
    double seconds_ = 0.0;
    TargetTally target_;
    std::vector<RunReach> reaches_;
};

// The summary rows of the series of one problem, in their order, each ranked among them.
std::string SummaryRows(const std::vector<const SeriesSummary*>& series, bool maximize,
                        std::optional<double> target);

// The totals of every run of an invocation, for the standard-error line.
struct BatchTotals {
    std::uint32_t FirstSeed = 0;
    std::size_t Runs = 0;
    std::size_t Solutions = 0;
    unsigned long long Evaluations = 0;
    double Seconds = 0.0;
    std::optional<float> Best;
    std::size_t StoppedByBudget = 0;
    void Add(const RunOutcome& run, bool maximize);
};

// The standard-error line: algorithm, first seed, the count when not 1, totals and the best of
// the best values.
std::string SummaryLine(AlgorithmKind kind, const BatchTotals& totals);

}  // namespace quarmel
