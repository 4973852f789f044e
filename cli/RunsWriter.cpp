// --format runs: one row per run. --format csv with --runs or --grid: the same rows, then after
// an empty line a summary row per series.
#include <vector>

#include "BatchPlan.h"
#include "BatchWriter.h"
#include "app/CsvTables.h"

namespace quarmel {

namespace {

// The label, the seed, the best value, the path's length, the evaluations and how the run
// ended, with --target the evaluations to reach it ("none" when it was not).
std::string RunRow(const std::string& label, const RunOutcome& run, bool target) {
    std::string row =
        RunRowFields(label, run.Seed, run.Best ? std::optional<double>(*run.Best) : std::nullopt,
                     run.Steps, run.Evaluations, RunEndName(run.Ended));
    if (target) {
        row += "," + (run.EvaluationsToTarget ? std::to_string(*run.EvaluationsToTarget) : "none");
    }
    return row + "\n";
}

class RunsWriter : public BatchWriter {
  public:
    using BatchWriter::BatchWriter;

    void Begin() override {
        if (plan_.Header) print_(RunRowHeader(Target()));
    }
    void Run(const RunOutcome& run, std::size_t series) override {
        print_(RunRow(plan_.Labels[series], run, Target()));
    }

  protected:
    bool Target() const { return plan_.Limits.Target.has_value(); }
};

class RunsAndSummaryWriter : public RunsWriter {
  public:
    RunsAndSummaryWriter(const BatchPlan& plan, BatchPrint print)
        : RunsWriter(plan, std::move(print)) {
        for (const std::string& label : plan.Labels) summaries_.emplace_back(label);
    }

    void Run(const RunOutcome& run, std::size_t series) override {
        RunsWriter::Run(run, series);
        summaries_[series].Add(run);
    }
    void End() override {
        print_("\n");
        if (plan_.Header) print_(SeriesSummary::Header(Target()));
        for (const SeriesSummary& summary : summaries_) {
            print_(summary.Row(plan_.Params.Maximize(), plan_.Limits.Target));
        }
    }

  private:
    std::vector<SeriesSummary> summaries_;
};

}  // namespace

std::unique_ptr<BatchWriter> MakeRunsWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<RunsWriter>(plan, std::move(print));
}

std::unique_ptr<BatchWriter> MakeRunsAndSummaryWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<RunsAndSummaryWriter>(plan, std::move(print));
}

}  // namespace quarmel
