#include "app/tables/RunTables.h"

#include "app/examples/OptimumGap.h"
#include "app/tables/CsvTables.h"

namespace quarmel {

std::string RunsTableHeader(bool target) {
    std::string header = RunRowHeader(target);
    // Before the line's end; the target last, so that a table can be checked against it.
    header.insert(header.size() - 1, target ? ",gap,undefined,target" : ",gap,undefined");
    return header;
}

std::string RunsTableRow(const std::string& series, const RunOutcome& run,
                         std::optional<double> target, const std::optional<ExampleProblem>& known,
                         bool maximize) {
    std::string row = RunRowFields(series, run.Seed, run.Best, run.Evaluations, run.Steps,
                                   run.Seconds, RunEndName(run.Ended));
    if (target) {
        row += "," +
               (run.EvaluationsToTarget ? std::to_string(*run.EvaluationsToTarget) : std::string());
    }
    const std::optional<float> gap = GapToOptimum(run.Best, known, maximize);
    row += "," + (gap ? FloatText(*gap) : std::string());
    row += "," + std::to_string(run.Undefined);
    if (target) row += "," + DoubleText(*target);
    return row + "\n";
}

std::string LongTableHeader() {
    return SeriesHeader() + ",seed,step,evaluations,value,best_so_far\n";
}

std::string LongTableRows(const std::string& series, const RunOutcome& run) {
    const std::string prefix = series + "," + std::to_string(run.Seed);
    std::string rows;
    std::size_t step = 0;
    for (const TraceStep& t : run.Trace) {
        rows += prefix + "," + std::to_string(++step) + "," + std::to_string(t.Evaluations) + "," +
                FloatText(t.Value) + "," + FloatText(t.BestSoFar) + "\n";
    }
    return rows;
}

}  // namespace quarmel
