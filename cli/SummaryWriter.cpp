// --format summary: one row per series of runs, written once all its runs are made.
#include <vector>

#include "BatchPlan.h"
#include "BatchWriter.h"

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
        // Runs come series by series: the last run of a series ends its row.
        if ((++runs_) % plan_.Runs == 0) {
            print_(summaries_[series].Row(plan_.Series[series].Params->Maximize(),
                                          plan_.ProblemOf(series).Target));
        }
    }

  private:
    std::vector<SeriesSummary> summaries_;
    std::size_t runs_ = 0;
};

}  // namespace

std::unique_ptr<BatchWriter> MakeSummaryWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<SummaryWriter>(plan, std::move(print));
}

}  // namespace quarmel
