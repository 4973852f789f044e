#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/examples/ExampleCatalogue.h"
#include "app/experiment/ExperimentRuns.h"
#include "app/stats/ExperimentStats.h"
#include "model/Algparameters.h"

namespace quarmel {

// What the window's experiment asks for: the algorithms to compare (each with the window's
// settings), the seeds and every run's budget and target.
struct ExperimentSetup {
    std::vector<AlgorithmKind> Algorithms;
    std::size_t Seeds = 30;
    std::uint32_t FirstSeed = 1;
    unsigned long long MaxEvaluations = 0;  // 0: each run ends of itself
    std::optional<double> MaxSeconds;
    std::optional<double> Target;
};

// The experiment dialog's texts, numbers as the window writes them (decimal comma). Blank
// evaluations, seconds or target mean none.
struct ExperimentTexts {
    std::vector<AlgorithmKind> Algorithms;
    std::string Seeds, FirstSeed, Evaluations, Seconds, Target;
};
struct ExperimentReading {
    ExperimentSetup Setup;
    std::string Refusal;  // why the texts make no experiment; empty when they do
};
// A number that does not convert throws ConversionError naming its text (as the pages' texts
// do); a number that converts but cannot be used is refused.
ExperimentReading ReadExperimentTexts(const ExperimentTexts& texts);

// The problem file the runs tables name, as the batch runner names the file it was given: `path`
// when that data file opens into the same problem as `current` (formula, direction, variables)
// under the same function name; empty when there is no file or the window's problem has changed
// since it was opened or saved.
std::string ProblemFileColumn(const std::string& path, const Problem& current,
                              const std::string& functionName);

// The target an experiment offers first: the known optimum give or take its tolerance, else the
// best of the runs kept so far in the problem's direction, else none.
std::optional<double> DefaultTarget(const std::optional<ExampleProblem>& known,
                                    const std::vector<std::optional<float>>& keptBests,
                                    bool maximize);

// An experiment made ready on the window's thread: one series per algorithm (the batch runner's
// series fields, a copy of the settings each) and its runs, series by series and seed by seed as
// the batch runner numbers them, each keeping its trace for the figures and the long table.
class ExperimentPlan {
  public:
    ExperimentPlan(const ExperimentSetup& setup, const AlgParameters& params,
                   const std::string& problemFile, const std::string& functionName);

    const ExperimentSetup& Setup() const { return setup_; }
    const std::vector<ExperimentRun>& Runs() const { return runs_; }
    std::size_t SeriesOf(std::size_t run) const { return run / setup_.Seeds; }
    bool Maximize() const { return params_->Maximize(); }

    // The tables of the runs handed on (a prefix of Runs(), in order), as `quarmel-batch`
    // writes them for each algorithm in turn with --format runs or long.
    std::string RunsCsv(const std::vector<RunOutcome>& outcomes) const;
    std::string LongCsv(const std::vector<RunOutcome>& outcomes) const;

    // Each algorithm's runs among those handed on, in the setup's order.
    std::vector<std::vector<RunOutcome>> ByAlgorithm(const std::vector<RunOutcome>& outcomes) const;

  private:
    ExperimentSetup setup_;
    std::unique_ptr<AlgParameters> params_;  // the runs point at it
    std::vector<std::string> fields_;        // per algorithm
    std::optional<ExampleProblem> known_;
    std::vector<ExperimentRun> runs_;
};

}  // namespace quarmel
