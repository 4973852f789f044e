#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BatchOptions.h"
#include "BatchRun.h"
#include "app/OpenedProblem.h"
#include "model/Algparameters.h"

namespace quarmel {

// What one invocation makes and writes, read from its options: the series of settings (one per
// combination of the grid's values) with their labels, the runs of each with their seeds, every
// run's budget, and the output. Runs are numbered series by series, seed by seed.
struct BatchPlan {
    AlgorithmKind Algorithm = Greedy;
    AlgParameters Params;   // the start settings with --set, holding the problem
    OpenedProblem Problem;  // the texts --out saves
    std::vector<std::unique_ptr<AlgParameters>> Series;
    std::vector<std::string> Labels;  // each series' "algorithm,settings,problem"
    std::size_t Runs = 1;             // runs of each series
    std::uint32_t FirstSeed = 0;
    int Jobs = 1;
    RunLimits Limits;            // every run's budget and target; KeepPath for --out
    std::string Format = "csv";  // the writer's name
    bool Summary = false;        // csv with --runs or --grid: the runs table and a summary
    bool Header = true;
    bool Population = false;
    std::optional<std::string> OutFile;

    std::size_t RunCount() const { return Series.size() * Runs; }
    std::size_t SeriesOf(std::size_t run) const { return run / Runs; }
    // Seeds follow on modulo 2^32 and start again with each series.
    std::uint32_t SeedOf(std::size_t run) const {
        return FirstSeed + static_cast<std::uint32_t>(run % Runs);
    }
};

// Fills `plan` from the options: reads the problem file, applies --set and each combination of
// --grid, and checks that --out's folder exists, all before anything runs. Without --seed the
// first seed is the clock's. Throws BatchInputError naming what is wrong.
void PlanBatch(const BatchOptions& options, BatchPlan& plan);

}  // namespace quarmel
