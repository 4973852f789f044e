// --format pairs: the rank-sum verdicts of every pair of series of a problem (the grid's
// combinations), written once all the runs of the problem are made.
#include <vector>

#include "algorithms/AlgorithmTable.h"
#include "app/plot/Convergence.h"
#include "app/stats/Verdicts.h"
#include "cli/BatchPlan.h"
#include "cli/BatchWriter.h"
#include "model/Settings.h"

namespace quarmel {

namespace {

class PairsWriter : public BatchWriter {
  public:
    using BatchWriter::BatchWriter;

    void Begin() override {
        if (plan_.Header) print_(PairsHeader());
    }
    void Run(const RunOutcome& run, std::size_t series) override {
        if (problem_.empty() || series_.back() != series) {
            const AlgParameters& params = *plan_.Series[series].Params;
            problem_.push_back(
                {SeriesLabel(plan_.Algorithm, ChangedSettingsText(params, plan_.Algorithm)), {}});
            series_.push_back(series);
        }
        if (run.Best) problem_.back().Bests.push_back(*run.Best);
        if ((++runs_) % plan_.Runs != 0 || !LastOfProblem(plan_, series)) return;
        const PlannedProblem& p = plan_.ProblemOf(series);
        print_(PairRows(p.File, p.Opened.FunctionName, problem_, p.Params->Maximize()));
        problem_.clear();
        series_.clear();
    }

  private:
    std::vector<SeriesSample> problem_;  // the current problem's series
    std::vector<std::size_t> series_;    // their indices in the plan
    std::size_t runs_ = 0;
};

}  // namespace

std::unique_ptr<BatchWriter> MakePairsWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<PairsWriter>(plan, std::move(print));
}

}  // namespace quarmel
