#include "BatchPlan.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <thread>

#include "model/Random.h"
#include "model/Settings.h"

namespace quarmel {

namespace {

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

}  // namespace

void PlanBatch(const BatchOptions& options, BatchPlan& plan) {
    plan.Algorithm = options.Algorithm;
    StartSettings(plan.Params);
    for (const SettingAssignment& s : options.Settings) ApplySetting(s, plan.Params);
    plan.Problem = OpenProblem(options.ProblemFile, plan.Params);
    if (!plan.Problem.Ok()) throw BatchInputError(options.ProblemFile + ": " + plan.Problem.Error);
    if (options.OutFile) CheckOutFolder(*options.OutFile);

    const std::string problemName = std::filesystem::path(options.ProblemFile).filename().string();
    for (const auto& combination : GridCombinations(options.Grid)) {
        plan.Series.push_back(std::make_unique<AlgParameters>(plan.Params));
        for (const SettingAssignment& s : combination) ApplySetting(s, *plan.Series.back());
        plan.Labels.push_back(
            SeriesLabel(options.Algorithm, ChangedSettingsText(*plan.Series.back()), problemName));
    }

    plan.Runs = static_cast<std::size_t>(options.Runs);
    plan.FirstSeed = options.Seed ? *options.Seed : ClockSeed();
    plan.Jobs = options.Jobs >= 1
                    ? options.Jobs
                    : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    plan.Limits.MaxEvaluations = options.MaxEvaluations;
    plan.Limits.MaxSeconds = options.MaxSeconds;
    plan.Limits.Target = options.Target;
    plan.Limits.KeepPath = options.OutFile.has_value();
    plan.Format = options.Format;
    plan.Summary = options.RunsGiven || !options.Grid.empty();
    plan.Header = !options.NoHeader;
    plan.Population = options.Population;
    plan.OutFile = options.OutFile;
}

}  // namespace quarmel
