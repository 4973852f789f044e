// --format long: one row per published step of every run (LongTableRows).
#include "app/tables/RunTables.h"
#include "cli/BatchPlan.h"
#include "cli/BatchWriter.h"

namespace quarmel {

namespace {

class LongWriter : public BatchWriter {
  public:
    using BatchWriter::BatchWriter;

    void Prepare(RunLimits& limits, std::size_t, std::uint32_t) const override {
        limits.KeepTrace = true;
    }
    void Begin() override {
        if (plan_.Header) print_(LongTableHeader());
    }
    void Run(const RunOutcome& run, std::size_t series) override {
        print_(LongTableRows(plan_.Series[series].Fields, run));
    }
};

}  // namespace

std::unique_ptr<BatchWriter> MakeLongWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<LongWriter>(plan, std::move(print));
}

}  // namespace quarmel
