// quarmel-batch: runs one algorithm on the problem of a data file, reproducibly from a seed, and
// prints the run's solutions (or a summary of several runs) for scripts and experiments.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BatchOptions.h"
#include "BatchRun.h"
#include "OrderedRuns.h"
#include "app/DataFile.h"
#include "app/NumberText.h"
#include "app/OpenedProblem.h"
#include "model/Random.h"
#include "model/Settings.h"

using namespace quarmel;

namespace {

constexpr int kBadInput = 2;
constexpr int kFailed = 1;

int Refuse(const std::string& message) {
    std::fprintf(stderr, "quarmel-batch: %s\n", message.c_str());
    return kBadInput;
}

// The folder a new file would go to must exist before anything runs.
void CheckOutFolder(const std::string& file) {
    std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        throw BatchInputError("cannot write '" + file + "': no folder " + folder.string());
    }
    if (std::filesystem::is_directory(file, ec)) {
        throw BatchInputError("cannot write '" + file + "': it is a folder");
    }
}

bool Print(const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

// One run to make: its own copy of the settings and problem, its seed and its series.
struct RunTask {
    std::unique_ptr<AlgParameters> Params;
    std::uint32_t Seed = 0;
    std::size_t Series = 0;
    RunLimits Limits;
};

}  // namespace

int main(int argc, char* argv[]) {
    BatchOptions options;
    AlgParameters params;
    OpenedProblem problem;
    // One series per combination of the grid's values: its settings and their label.
    std::vector<std::unique_ptr<AlgParameters>> series;
    std::vector<std::string> labels;
    try {
        options = ParseBatchArguments(std::vector<std::string>(argv + 1, argv + argc));
        if (options.Help) {
            std::fputs(BatchUsage().c_str(), stdout);
            return 0;
        }
        if (options.Version) {
            std::puts("quarmel-batch " QUARMEL_VERSION);
            return 0;
        }
        StartSettings(params);
        for (const SettingAssignment& s : options.Settings) ApplySetting(s, params);
        problem = OpenProblem(options.ProblemFile, params);
        if (!problem.Ok()) throw BatchInputError(options.ProblemFile + ": " + problem.Error);
        if (options.OutFile) CheckOutFolder(*options.OutFile);
        const std::string problemName =
            std::filesystem::path(options.ProblemFile).filename().string();
        for (const auto& combination : GridCombinations(options.Grid)) {
            series.push_back(std::make_unique<AlgParameters>(params));
            for (const SettingAssignment& s : combination) ApplySetting(s, *series.back());
            labels.push_back(
                SeriesLabel(options.Algorithm, ChangedSettingsText(*series.back()), problemName));
        }
    } catch (const BatchInputError& e) {
        return Refuse(e.what());
    }

    const bool maximize = params.Maximize();
    const bool table =
        options.Format == OutputFormat::Csv && (options.RunsGiven || !options.Grid.empty());
    const bool pathOutput = options.Format == OutputFormat::Csv && !table;
    const bool target = options.Target.has_value();
    const bool header = !options.NoHeader;
    const std::uint32_t seed = options.Seed ? *options.Seed : ClockSeed();
    int jobs = options.Jobs;
    if (jobs < 1) jobs = std::max(1u, std::thread::hardware_concurrency());

    bool written = true;
    auto print = [&](const std::string& text) { written = Print(text) && written; };
    if (header && options.Format == OutputFormat::Long) print(LongHeader());
    if (header && options.Format != OutputFormat::Long && !pathOutput) {
        print(RunRowHeader(target));
    }

    std::vector<SeriesSummary> summaries;
    for (const std::string& label : labels) summaries.emplace_back(label);
    BatchTotals totals;
    std::optional<RunOutcome> best;  // the path of the best run, for --out and the path output
    const std::size_t runs = static_cast<std::size_t>(options.Runs);

    RunOrdered<RunTask, RunOutcome>(
        series.size() * runs, jobs, 4 * static_cast<std::size_t>(jobs),
        [&](std::size_t i) {
            RunTask task;
            task.Series = i / runs;
            // Seeds follow on modulo 2^32.
            task.Seed = seed + static_cast<std::uint32_t>(i % runs);
            task.Params = std::make_unique<AlgParameters>(*series[task.Series]);
            task.Limits.MaxEvaluations = options.MaxEvaluations;
            task.Limits.MaxSeconds = options.MaxSeconds;
            task.Limits.Target = options.Target;
            task.Limits.KeepPath = pathOutput || options.OutFile.has_value();
            if (options.Format == OutputFormat::Long) {
                task.Limits.LongPrefix =
                    labels[task.Series] + "," + std::to_string(task.Seed) + ",";
            }
            return task;
        },
        [&](RunTask& task) {
            return RunOnce(options.Algorithm, *task.Params, task.Seed, task.Limits);
        },
        [&](RunOutcome run) {
            const std::size_t s = totals.Runs / runs;
            totals.Add(run, maximize);
            if (options.Format == OutputFormat::Long) {
                print(run.LongRows);
            } else if (!pathOutput) {
                print(RunRow(labels[s], run, target));
                summaries[s].Add(run);
            }
            // The first of equals stays.
            const bool better =
                !best ||
                (run.Best && (!best->Best || BetterFirst(*run.Best, *best->Best, maximize)));
            if ((pathOutput || options.OutFile) && better) best = std::move(run);
        });

    if (table) {
        print("\n");
        if (header) print(SeriesSummary::Header(target));
        for (const SeriesSummary& summary : summaries) print(summary.Row(maximize, options.Target));
    }
    if (pathOutput && best) {
        print(SolutionsCsv(params, best->Solutions, header));
        if (options.Population) print("\n" + SolutionsCsv(params, best->Population, header));
    }
    written = std::fflush(stdout) == 0 && written;
    std::fprintf(stderr, "%s\n", SummaryLine(options.Algorithm, totals).c_str());
    if (totals.StoppedByBudget > 0) {
        std::string budget = std::to_string(options.MaxEvaluations) + " evaluations";
        if (options.MaxSeconds) budget += " or " + PrintfG(*options.MaxSeconds) + " seconds";
        std::fprintf(stderr,
                     "quarmel-batch: %zu of %zu runs stopped by the budget of %s a run "
                     "(--max-evaluations, --max-seconds)\n",
                     totals.StoppedByBudget, totals.Runs, budget.c_str());
    }
    if (!written) {
        std::fprintf(stderr, "quarmel-batch: cannot write the standard output\n");
        return kFailed;
    }

    if (options.OutFile && best) {
        DataFileContents contents;
        contents.FunctionName = problem.FunctionName;
        contents.Formula = problem.Formula;
        contents.Maximize = maximize;
        contents.Variables = params.Variables();
        contents.Solutions = best->Solutions;
        const SaveResult saved = SaveDataFile(*options.OutFile, contents);
        if (!saved.Ok) {
            std::fprintf(stderr, "quarmel-batch: %s\n", saved.Error.c_str());
            return kFailed;
        }
    }
    return 0;
}
