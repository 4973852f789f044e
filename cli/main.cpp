// quarmel-batch: runs one algorithm on the problems of data files, reproducibly from a seed, and
// prints the run's solutions (or a table of several runs) for scripts and experiments.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/BatchOptions.h"
#include "cli/BatchPlan.h"
#include "cli/BatchRunner.h"
#include "cli/BatchWriter.h"
#include "cli/RunsSummary.h"

using namespace quarmel;

namespace {

constexpr int kBadInput = 2;
constexpr int kFailed = 1;

int Fail(const std::string& message, int status = kFailed) {
    std::fprintf(stderr, "quarmel-batch: %s\n", message.c_str());
    return status;
}

bool Print(const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

}  // namespace

int main(int argc, char* argv[]) {
    BatchPlan plan;
    plan.Command.assign(argv + 1, argv + argc);
    try {
        const BatchOptions options = ParseBatchArguments(plan.Command);
        // Buffered text is written at the flush: a full or closed standard output shows there.
        if (options.Help) return Print(BatchUsage()) && std::fflush(stdout) == 0 ? 0 : kFailed;
        if (options.Version) {
            return Print("quarmel-batch " QUARMEL_VERSION "\n") && std::fflush(stdout) == 0
                       ? 0
                       : kFailed;
        }
        if (options.Reads) {
            return Print(SettingsReadBy(*options.Reads)) && std::fflush(stdout) == 0 ? 0 : kFailed;
        }
        if (options.SummarizeFile) {
            const std::string summary =
                SummarizeRunsFile(*options.SummarizeFile, options.Target, !options.NoHeader,
                                  options.Format == "pairs", options.TargetOptimum);
            return Print(summary) && std::fflush(stdout) == 0 ? 0 : kFailed;
        }
        PlanBatch(options, plan);
        for (const std::string& w : plan.Warnings) {
            std::fprintf(stderr, "quarmel-batch: warning: %s\n", w.c_str());
        }
    } catch (const BatchInputError& e) {
        return Fail(e.what(), kBadInput);
    }
    if (const std::string failure = WriteMetaFile(plan); !failure.empty()) return Fail(failure);

    bool written = true;
    const auto writer = FindBatchWriter(plan.Format)(
        plan, [&](const std::string& text) { written = Print(text) && written; });
    const BatchResult result = RunBatch(plan, *writer);
    written = std::fflush(stdout) == 0 && written;
    std::fprintf(stderr, "%s\n", SummaryLine(plan.Algorithm, result.Totals).c_str());
    if (result.Totals.StoppedByBudget > 0) {
        std::fprintf(stderr, "%s\n", BudgetLine(plan, result.Totals).c_str());
    }
    if (!written) {
        return Fail(std::string("cannot write the standard output: ") + std::strerror(errno));
    }
    if (const std::string failure = writer->Failure(); !failure.empty()) return Fail(failure);
    if (plan.OutFile && result.Best) {
        const SaveResult saved = SaveBestRun(plan, *result.Best);
        if (!saved.Ok) return Fail(saved.Error);
    }
    return 0;
}
