#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/datafile/OpenedProblem.h"
#include "app/examples/ExampleCatalogue.h"
#include "app/runs/BatchRun.h"
#include "cli/BatchOptions.h"
#include "model/Algparameters.h"

namespace quarmel {

// One problem file of an invocation: the file as given, the texts --out saves and the settings
// (the start settings with --set) holding its problem.
struct PlannedProblem {
    std::string File;
    OpenedProblem Opened;
    std::unique_ptr<AlgParameters> Params;
    std::optional<ExampleProblem> Known;  // from the catalogue beside the file
    std::optional<double> Target;         // its runs' target (--target), if any
};

// One series of runs: a problem with one combination of the grid's values.
struct PlannedSeries {
    std::size_t Problem = 0;      // index into the plan's problems
    std::size_t Combination = 0;  // which combination of the grid, from 0
    std::unique_ptr<AlgParameters> Params;
    std::string Fields;  // the runs table's series fields (SeriesFields)
};

// What one invocation makes and writes, read from its options: the series of settings (problem
// by problem, one per combination of the grid's values), the runs of each with their seeds,
// every run's budget, and the output. Runs are numbered series by series, seed by seed.
struct BatchPlan {
    AlgorithmKind Algorithm = Greedy;
    std::vector<PlannedProblem> Problems;
    std::vector<PlannedSeries> Series;
    std::size_t Combinations = 1;  // series of each problem
    std::size_t Runs = 1;          // runs of each series
    std::uint32_t FirstSeed = 0;
    int Jobs = 1;
    RunLimits Limits;            // every run's budget; KeepPath for --out
    bool Targeted = false;       // the runs have a target (each problem's Target)
    std::string Format = "csv";  // the writer's name
    bool RunsTable = false;      // csv with --runs, --grid or several problems: the runs table
    bool Header = true;
    bool Population = false;
    std::optional<std::string> OutFile;
    std::optional<std::string> IohFolder;
    std::optional<std::string> MetaFile;
    std::vector<std::string> Command;   // the program's arguments, for the outputs that record it
    std::vector<std::string> Warnings;  // catalogue lines left out, each once

    std::size_t RunCount() const { return Series.size() * Runs; }
    std::size_t SeriesOf(std::size_t run) const { return run / Runs; }
    // Seeds follow on modulo 2^32 and start again with each series.
    std::uint32_t SeedOf(std::size_t run) const {
        return FirstSeed + static_cast<std::uint32_t>(run % Runs);
    }
    const PlannedProblem& ProblemOf(std::size_t series) const {
        return Problems[Series[series].Problem];
    }
};

// Whether the series is its problem's last (the series come problem by problem).
inline bool LastOfProblem(const BatchPlan& plan, std::size_t series) {
    return series + 1 == plan.Series.size() ||
           plan.Series[series + 1].Problem != plan.Series[series].Problem;
}

// Fills `plan` from the options: reads the problem files, applies --set and each combination of
// --grid, and checks that every file and folder to be written can be, all before anything runs.
// Without --seed the first seed is the clock's. Throws BatchInputError naming what is wrong.
void PlanBatch(const BatchOptions& options, BatchPlan& plan);

// The version and the command as JSON members: "\"version\":\"1.0\",\"command\":[...]".
std::string VersionAndCommandJson(const BatchPlan& plan);

// The --meta file's text: a JSON object with the program, its version, the command, the format
// and the problem files with their functions.
std::string MetaJson(const BatchPlan& plan);
// Writes MetaJson to the plan's --meta file, if it has one: empty on success, else why not.
std::string WriteMetaFile(const BatchPlan& plan);

}  // namespace quarmel
