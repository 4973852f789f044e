// quarmel-batch: runs one algorithm on the problems of data files, reproducibly from a seed, and
// prints the run's solutions (or a table of several runs) for scripts and experiments.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "BatchOptions.h"
#include "BatchPlan.h"
#include "BatchRunner.h"
#include "BatchWriter.h"
#include "RunsSummary.h"

using namespace quarmel;

namespace {

constexpr int kBadInput = 2;
constexpr int kFailed = 1;

void Complain(const std::string& message) {
    std::fprintf(stderr, "quarmel-batch: %s\n", message.c_str());
}

}  // namespace

int main(int argc, char* argv[]) {
    BatchPlan plan;
    plan.Command.assign(argv + 1, argv + argc);
    try {
        const BatchOptions options = ParseBatchArguments(plan.Command);
        if (options.Help) {
            std::fputs(BatchUsage().c_str(), stdout);
            return 0;
        }
        if (options.Version) {
            std::puts("quarmel-batch " QUARMEL_VERSION);
            return 0;
        }
        if (options.SummarizeFile) {
            std::ifstream table(*options.SummarizeFile, std::ios::binary);
            if (!table) {
                throw BatchInputError("cannot read '" + *options.SummarizeFile +
                                      "': " + std::strerror(errno));
            }
            const std::string summary = SummarizeRuns(table, options.Target, !options.NoHeader);
            return std::fputs(summary.c_str(), stdout) >= 0 && std::fflush(stdout) == 0 ? 0
                                                                                        : kFailed;
        }
        PlanBatch(options, plan);
    } catch (const BatchInputError& e) {
        Complain(e.what());
        return kBadInput;
    }
    if (plan.MetaFile) {
        std::ofstream meta(*plan.MetaFile, std::ios::binary | std::ios::trunc);
        meta << MetaJson(plan);
        meta.close();
        if (!meta) {
            Complain("cannot write '" + *plan.MetaFile + "': " + std::strerror(errno));
            return kFailed;
        }
    }

    bool written = true;
    const auto writer = FindBatchWriter(plan.Format)(plan, [&](const std::string& text) {
        written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && written;
    });
    const BatchResult result = RunBatch(plan, *writer);
    written = std::fflush(stdout) == 0 && written;
    std::fprintf(stderr, "%s\n", SummaryLine(plan.Algorithm, result.Totals).c_str());
    if (result.Totals.StoppedByBudget > 0) {
        std::fprintf(stderr, "%s\n", BudgetLine(plan, result.Totals).c_str());
    }
    if (!written) {
        Complain(std::string("cannot write the standard output: ") + std::strerror(errno));
        return kFailed;
    }
    if (const std::string failure = writer->Failure(); !failure.empty()) {
        Complain(failure);
        return kFailed;
    }
    if (plan.OutFile && result.Best) {
        const SaveResult saved = SaveBestRun(plan, *result.Best);
        if (!saved.Ok) {
            Complain(saved.Error);
            return kFailed;
        }
    }
    return 0;
}
