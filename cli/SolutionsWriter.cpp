// --format csv of a single run: its path (the genetic algorithm's history) as CSV; with
// --population a last column says which rows are the path (0) and which the last population (1).
#include "app/tables/CsvTables.h"
#include "cli/BatchPlan.h"
#include "cli/BatchWriter.h"

namespace quarmel {

namespace {

// The rows (numbers only, one a line) with one more field.
std::string Marked(const std::string& rows, const char* mark) {
    std::string out;
    for (std::size_t from = 0; from < rows.size();) {
        const std::size_t end = rows.find('\n', from);
        out += rows.substr(from, end - from) + "," + mark + "\n";
        from = end + 1;
    }
    return out;
}

class SolutionsWriter : public BatchWriter {
  public:
    using BatchWriter::BatchWriter;

    void Prepare(RunLimits& limits, std::size_t, std::uint32_t) const override {
        limits.KeepPath = true;
    }

    // The plan holds the one run this format is chosen for.
    void Run(const RunOutcome& run, std::size_t) override {
        const AlgParameters& problem = *plan_.Problems.front().Params;
        if (!plan_.Population) {
            print_(SolutionsCsv(problem, run.Solutions, plan_.Header));
            return;
        }
        std::string header = SolutionsCsv(problem, SolutionList(), true);
        header.insert(header.size() - 1, ",population");
        print_((plan_.Header ? header : std::string()) +
               Marked(SolutionsCsv(problem, run.Solutions, false), "0") +
               Marked(SolutionsCsv(problem, run.Population, false), "1"));
    }
};

}  // namespace

std::unique_ptr<BatchWriter> MakeSolutionsWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<SolutionsWriter>(plan, std::move(print));
}

}  // namespace quarmel
