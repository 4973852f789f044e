// --format csv of a single run: its path (the genetic algorithm's history) as CSV, and with
// --population the last population after an empty line.
#include "BatchPlan.h"
#include "BatchWriter.h"
#include "app/CsvTables.h"

namespace quarmel {

namespace {

class SolutionsWriter : public BatchWriter {
  public:
    using BatchWriter::BatchWriter;

    void Prepare(RunLimits& limits, std::size_t, std::uint32_t) const override {
        limits.KeepPath = true;
    }

    // The plan holds the one run this format is chosen for.
    void Run(const RunOutcome& run, std::size_t) override {
        print_(SolutionsCsv(plan_.Params, run.Solutions, plan_.Header));
        if (plan_.Population) {
            print_("\n" + SolutionsCsv(plan_.Params, run.Population, plan_.Header));
        }
    }
};

}  // namespace

std::unique_ptr<BatchWriter> MakeSolutionsWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<SolutionsWriter>(plan, std::move(print));
}

}  // namespace quarmel
