// --format runs (and csv with --runs, --grid or several problem files): one row per run.
#include "app/tables/RunTables.h"
#include "cli/BatchPlan.h"
#include "cli/BatchWriter.h"

namespace quarmel {

namespace {

class RunsWriter : public BatchWriter {
  public:
    using BatchWriter::BatchWriter;

    void Begin() override {
        if (plan_.Header) print_(RunsTableHeader(Target()));
    }
    void Run(const RunOutcome& run, std::size_t series) override {
        print_(RunsTableRow(plan_.Series[series].Fields, run,
                            Target() ? plan_.ProblemOf(series).Target : std::nullopt,
                            plan_.ProblemOf(series).Known,
                            plan_.Series[series].Params->Maximize()));
    }

  private:
    bool Target() const { return plan_.Targeted; }
};

}  // namespace

std::unique_ptr<BatchWriter> MakeRunsWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<RunsWriter>(plan, std::move(print));
}

}  // namespace quarmel
