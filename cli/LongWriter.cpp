// --format long: one row per published step of every run, with the label, the seed, the step
// (from 1), the evaluations made up to its publishing, its value and the best value so far.
#include "BatchPlan.h"
#include "BatchWriter.h"

namespace quarmel {

namespace {

class LongWriter : public BatchWriter {
  public:
    using BatchWriter::BatchWriter;

    // The run makes its rows as it goes, so that its path need not be kept.
    void Prepare(RunLimits& limits, std::size_t series, std::uint32_t seed) const override {
        limits.LongPrefix = plan_.Labels[series] + "," + std::to_string(seed) + ",";
    }
    void Begin() override {
        if (plan_.Header)
            print_("algorithm,settings,problem,seed,step,evaluations,value,best_so_far\n");
    }
    void Run(const RunOutcome& run, std::size_t) override { print_(run.LongRows); }
};

}  // namespace

std::unique_ptr<BatchWriter> MakeLongWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<LongWriter>(plan, std::move(print));
}

}  // namespace quarmel
