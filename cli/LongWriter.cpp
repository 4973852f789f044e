// --format long: one row per published step of every run: the series fields, the seed, the step
// (from 1), the evaluations made up to its publishing, its value and the best value so far.
#include "BatchPlan.h"
#include "BatchWriter.h"
#include "app/CsvTables.h"

namespace quarmel {

namespace {

class LongWriter : public BatchWriter {
  public:
    using BatchWriter::BatchWriter;

    void Prepare(RunLimits& limits, std::size_t, std::uint32_t) const override {
        limits.KeepTrace = true;
    }
    void Begin() override {
        if (plan_.Header) print_(SeriesHeader() + ",seed,step,evaluations,value,best_so_far\n");
    }
    void Run(const RunOutcome& run, std::size_t series) override {
        const std::string prefix = plan_.Series[series].Fields + "," + std::to_string(run.Seed);
        std::string rows;
        std::size_t step = 0;
        for (const TraceStep& t : run.Trace) {
            rows += prefix + "," + std::to_string(++step) + "," + std::to_string(t.Evaluations) +
                    "," + FloatText(t.Value) + "," + FloatText(t.BestSoFar) + "\n";
        }
        print_(rows);
    }
};

}  // namespace

std::unique_ptr<BatchWriter> MakeLongWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<LongWriter>(plan, std::move(print));
}

}  // namespace quarmel
