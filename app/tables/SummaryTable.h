#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/runs/RunOutcome.h"
#include "app/stats/ErtBootstrap.h"
#include "app/stats/RunStatistics.h"

namespace quarmel {

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

}  // namespace quarmel
