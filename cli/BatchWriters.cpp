// The table of output formats: a new format is its writer's file and one line here.
#include "BatchPlan.h"
#include "BatchWriter.h"

namespace quarmel {

// Each writer's file defines its maker.
std::unique_ptr<BatchWriter> MakeSolutionsWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeRunsAndSummaryWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeRunsWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeLongWriter(const BatchPlan& plan, BatchPrint print);

namespace {

// csv is a single run's solutions, or with --runs or --grid the runs table and its summary.
std::unique_ptr<BatchWriter> MakeCsvWriter(const BatchPlan& plan, BatchPrint print) {
    return plan.Summary ? MakeRunsAndSummaryWriter(plan, std::move(print))
                        : MakeSolutionsWriter(plan, std::move(print));
}

struct NamedWriter {
    const char* Name;
    BatchWriterFactory Make;
};

const NamedWriter kWriters[] = {
    {"csv", MakeCsvWriter},
    {"runs", MakeRunsWriter},
    {"long", MakeLongWriter},
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
