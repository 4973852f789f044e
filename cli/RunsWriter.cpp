// --format runs (and csv with --runs, --grid or several problem files): one row per run.
#include "BatchPlan.h"
#include "BatchWriter.h"
#include "app/CsvTables.h"

namespace quarmel {

namespace {

class RunsWriter : public BatchWriter {
  public:
    using BatchWriter::BatchWriter;

    void Begin() override {
        if (plan_.Header) print_(RunRowHeader(Target()));
    }
    void Run(const RunOutcome& run, std::size_t series) override {
        std::string row =
            RunRowFields(plan_.Series[series].Fields, run.Seed, run.Best, run.Evaluations,
                         run.Steps, run.Seconds, RunEndName(run.Ended));
        if (Target()) {
            row += "," + (run.EvaluationsToTarget ? std::to_string(*run.EvaluationsToTarget)
                                                  : std::string());
        }
        print_(row + "\n");
    }

  private:
    bool Target() const { return plan_.Limits.Target.has_value(); }
};

}  // namespace

std::unique_ptr<BatchWriter> MakeRunsWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<RunsWriter>(plan, std::move(print));
}

}  // namespace quarmel
