#include "cli/BatchPlan.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <thread>

#include "app/datafile/AtomicFile.h"
#include "app/examples/ExampleFolder.h"
#include "app/examples/OptimumGap.h"
#include "app/tables/CsvTables.h"
#include "app/tables/FunctionId.h"
#include "cli/JsonText.h"
#include "cli/OutputTargets.h"
#include "model/Random.h"
#include "model/Settings.h"

namespace quarmel {

namespace {

// A problem file must be a regular file this process may read; the reader's own message does
// not say why it could not.
void CheckReadable(const std::string& file) {
    struct stat st;
    std::string why;
    if (stat(file.c_str(), &st) != 0) {
        why = FileErrorText(errno);
    } else if (S_ISDIR(st.st_mode)) {
        why = "it is a folder";
    } else if (!S_ISREG(st.st_mode)) {
        why = "not a regular file";
    } else if (access(file.c_str(), R_OK) != 0) {
        why = FileErrorText(errno);
    }
    if (!why.empty()) throw BatchInputError("cannot read '" + file + "': " + why);
}

}  // namespace

void PlanBatch(const BatchOptions& options, BatchPlan& plan) {
    plan.Algorithm = options.Algorithm;
    AlgParameters start;
    StartSettings(start);
    for (const SettingAssignment& s : options.Settings) ApplySetting(s, start);
    for (const std::string& file : options.ProblemFiles) {
        CheckReadable(file);
        PlannedProblem problem;
        problem.File = file;
        problem.Params = std::make_unique<AlgParameters>(start);
        problem.Opened = OpenProblem(file, *problem.Params);
        if (!problem.Opened.Ok()) throw BatchInputError(file + ": " + problem.Opened.Error);
        std::vector<std::string> warnings;
        problem.Known = KnownExampleFor(file, "", *problem.Params, &warnings);
        for (const std::string& w : warnings) {
            if (std::find(plan.Warnings.begin(), plan.Warnings.end(), w) == plan.Warnings.end()) {
                plan.Warnings.push_back(w);
            }
        }
        problem.Target = options.Target;
        if (options.TargetOptimum) {
            if (!problem.Known) {
                throw BatchInputError("--target optimum: no known optimum for '" + file + "'" +
                                      (warnings.empty() ? "" : " (" + warnings.front() + ")"));
            }
            problem.Target = OptimumTarget(problem.Known->Optimum, problem.Known->Maximize);
        }
        plan.Problems.push_back(std::move(problem));
    }
    JudgeOutputTargets(options);
    if (options.IohFolder) {
        // Each function's files are named by its id: two files of one function would share them.
        std::map<std::uint32_t, std::string> ids;
        for (const PlannedProblem& p : plan.Problems) {
            const auto [at, added] =
                ids.emplace(StableFunctionId(p.Opened.FunctionName, *p.Params), p.File);
            if (!added) {
                throw BatchInputError("--format ioh: '" + at->second + "' and '" + p.File +
                                      "' hold the same function");
            }
        }
    }

    const auto combinations = GridCombinations(options.Grid);
    plan.Combinations = combinations.size();
    for (std::size_t p = 0; p < plan.Problems.size(); ++p) {
        for (std::size_t c = 0; c < combinations.size(); ++c) {
            PlannedSeries series;
            series.Problem = p;
            series.Combination = c;
            series.Params = std::make_unique<AlgParameters>(*plan.Problems[p].Params);
            for (const SettingAssignment& s : combinations[c]) ApplySetting(s, *series.Params);
            series.Fields =
                SeriesFields(plan.Problems[p].File, plan.Problems[p].Opened.FunctionName,
                             options.Algorithm, *series.Params);
            plan.Series.push_back(std::move(series));
        }
    }

    plan.Runs = static_cast<std::size_t>(options.Runs);
    plan.FirstSeed = options.Seed ? *options.Seed : ClockSeed();
    plan.Jobs = options.Jobs >= 1
                    ? options.Jobs
                    : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    plan.Limits.MaxEvaluations = options.MaxEvaluations;
    plan.Limits.MaxSeconds = options.MaxSeconds;
    plan.Targeted = options.Target || options.TargetOptimum;
    plan.Limits.KeepPath = options.OutFile.has_value();
    plan.Format = options.Format;
    plan.RunsTable = options.RunsGiven || !options.Grid.empty() || plan.Problems.size() > 1;
    plan.Header = !options.NoHeader;
    plan.Population = options.Population;
    plan.OutFile = options.OutFile;
    plan.IohFolder = options.IohFolder;
    plan.MetaFile = options.MetaFile;
}

std::string VersionAndCommandJson(const BatchPlan& plan) {
    std::string json = "\"version\":" + JsonString(QUARMEL_VERSION) + ",\"command\":[" +
                       JsonString("quarmel-batch");
    for (const std::string& arg : plan.Command) json += "," + JsonString(arg);
    return json + "]";
}

std::string MetaJson(const BatchPlan& plan) {
    std::string json = "{\"program\":\"quarmel-batch\"," + VersionAndCommandJson(plan) +
                       ",\"format\":" + JsonString(plan.Format) + ",\"problems\":[";
    for (std::size_t i = 0; i < plan.Problems.size(); ++i) {
        const PlannedProblem& p = plan.Problems[i];
        json += std::string(i ? "," : "") + "{\"file\":" + JsonString(p.File) +
                ",\"function\":" + JsonString(TableName(p.Opened.FunctionName)) + "}";
    }
    return json + "]}\n";
}

std::string WriteMetaFile(const BatchPlan& plan) {
    if (!plan.MetaFile) return {};
    std::string error;
    return WriteFileAtomically(*plan.MetaFile, MetaJson(plan), error) ? std::string() : error;
}

}  // namespace quarmel
