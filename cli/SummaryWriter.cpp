// --format summary: one row per series of runs, written once all the runs of its problem are
// made (a series' rank is among its problem's series).
#include <vector>

#include "cli/BatchPlan.h"
#include "cli/BatchWriter.h"

namespace quarmel {

namespace {

class SummaryWriter : public BatchWriter {
  public:
    SummaryWriter(const BatchPlan& plan, BatchPrint print) : BatchWriter(plan, std::move(print)) {
        for (const PlannedSeries& s : plan.Series) summaries_.emplace_back(s.Fields);
    }

    void Begin() override {
        if (plan_.Header) print_(SeriesSummary::Header(plan_.Targeted));
    }
    void Run(const RunOutcome& run, std::size_t series) override {
        summaries_[series].Add(run);
        // Runs come series by series and the series problem by problem: the last run of a
        // problem's last series ends its rows.
        if ((++runs_) % plan_.Runs != 0) return;
        problem_.push_back(&summaries_[series]);
        if (!LastOfProblem(plan_, series)) return;
        print_(SummaryRows(problem_, plan_.Series[series].Params->Maximize(),
                           plan_.ProblemOf(series).Target));
        problem_.clear();
    }

  private:
    std::vector<SeriesSummary> summaries_;
    std::vector<const SeriesSummary*> problem_;  // the current problem's series
    std::size_t runs_ = 0;
};

}  // namespace

std::unique_ptr<BatchWriter> MakeSummaryWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<SummaryWriter>(plan, std::move(print));
}

}  // namespace quarmel
