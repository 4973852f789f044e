// --format runs (and csv with --runs, --grid or several problem files): one row per run.
#include "BatchPlan.h"
#include "BatchWriter.h"
#include "app/CsvTables.h"
#include "app/OptimumGap.h"

namespace quarmel {

namespace {

class RunsWriter : public BatchWriter {
  public:
    using BatchWriter::BatchWriter;

    void Begin() override {
        if (!plan_.Header) return;
        std::string header = RunRowHeader(Target());
        header.insert(header.size() - 1, ",gap,undefined");  // before the line's end
        print_(header);
    }
    void Run(const RunOutcome& run, std::size_t series) override {
        std::string row =
            RunRowFields(plan_.Series[series].Fields, run.Seed, run.Best, run.Evaluations,
                         run.Steps, run.Seconds, RunEndName(run.Ended));
        if (Target()) {
            row += "," + (run.EvaluationsToTarget ? std::to_string(*run.EvaluationsToTarget)
                                                  : std::string());
        }
        const PlannedProblem& problem = plan_.ProblemOf(series);
        const std::optional<float> gap =
            GapToOptimum(run.Best, problem.Known, plan_.Series[series].Params->Maximize());
        row += "," + (gap ? FloatText(*gap) : std::string());
        row += "," + std::to_string(run.Undefined);
        print_(row + "\n");
    }

  private:
    bool Target() const { return plan_.Targeted; }
};

}  // namespace

std::unique_ptr<BatchWriter> MakeRunsWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<RunsWriter>(plan, std::move(print));
}

}  // namespace quarmel
