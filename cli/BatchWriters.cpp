// The table of output formats: a new format is its writer's file and one line here.
#include "BatchPlan.h"
#include "BatchWriter.h"

namespace quarmel {

// Each writer's file defines its maker.
std::unique_ptr<BatchWriter> MakeSolutionsWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeRunsWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeSummaryWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeLongWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeJsonlWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeIohWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakePairsWriter(const BatchPlan& plan, BatchPrint print);

namespace {

// csv is a single run's solutions, or with --runs, --grid or several problems the runs table.
std::unique_ptr<BatchWriter> MakeCsvWriter(const BatchPlan& plan, BatchPrint print) {
    return plan.RunsTable ? MakeRunsWriter(plan, std::move(print))
                          : MakeSolutionsWriter(plan, std::move(print));
}

struct NamedWriter {
    const char* Name;
    BatchWriterFactory Make;
};

const NamedWriter kWriters[] = {
    {"csv", MakeCsvWriter},     {"runs", MakeRunsWriter},   {"summary", MakeSummaryWriter},
    {"long", MakeLongWriter},   {"jsonl", MakeJsonlWriter}, {"ioh", MakeIohWriter},
    {"pairs", MakePairsWriter},
};

}  // namespace

std::vector<std::string> BatchFormatNames() {
    std::vector<std::string> names;
    for (const NamedWriter& w : kWriters) names.emplace_back(w.Name);
    return names;
}

BatchWriterFactory FindBatchWriter(const std::string& name) {
    for (const NamedWriter& w : kWriters) {
        if (name == w.Name) return w.Make;
    }
    return nullptr;
}

}  // namespace quarmel
