#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/runs/BatchRun.h"
#include "model/Algparameters.h"
#include "model/Settings.h"

namespace quarmel {

// Bad input to the batch runner: an unknown option or setting, a value out of range, a problem
// that cannot be read or used. The runner prints what() and exits with status 2.
class BatchInputError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One --set NAME=VALUE, checked against the setting's name but not yet applied.
struct SettingAssignment {
    std::string Name;
    std::string Value;
};

// One --grid NAME=V1,V2,...: a setting and the values it takes in turn, each checked.
struct GridAxis {
    std::string Name;
    std::vector<std::string> Values;
};

// The most seconds --max-seconds takes (a year): far below where a deadline on the steady clock
// would overflow.
constexpr double kMaxSeconds = 31536000.0;

// The most settings series --grid may make (over all problem files), checked before any is made.
constexpr unsigned long long kMaxGridSeries = 100000ULL;

struct BatchOptions {
    AlgorithmKind Algorithm = Greedy;
    std::optional<std::uint32_t> Seed;  // the clock's when absent
    int Runs = 1;
    bool RunsGiven = false;  // --runs switches the output to the summary table, also for 1
    std::vector<SettingAssignment> Settings;
    bool Population = false;
    std::optional<std::string> OutFile;
    std::vector<std::string> ProblemFiles;  // runs go problem by problem, in this order
    bool Help = false;
    bool Version = false;
    std::optional<AlgorithmKind> Reads;  // --reads ALGORITHM: print the settings it may read
    int Jobs = 0;                        // 0: one per core
    unsigned long long MaxEvaluations = kDefaultMaxEvaluations;
    bool MaxEvaluationsGiven = false;
    std::optional<double> MaxSeconds;
    std::string Format = "csv";                // a name of the writers' table (BatchWriter.h)
    std::optional<std::string> IohFolder;      // --format ioh DIR
    std::optional<std::string> MetaFile;       // --meta FILE
    std::optional<std::string> SummarizeFile;  // --summarize FILE: a runs table to summarise
    bool NoHeader = false;
    std::optional<double> Target;
    bool TargetOptimum = false;  // --target optimum: each problem's known optimum and tolerance
    std::vector<GridAxis> Grid;
};

// The runs of one invocation: every combination of the grid's values (the first axis varying
// slowest), each the start settings with --set then the combination applied. Throws
// BatchInputError for a value out of range.
std::vector<std::vector<SettingAssignment>> GridCombinations(const std::vector<GridAxis>& grid);

// A setting that --set may change (every one of the table but the ignored field), or nullptr.
const SettingSpec* FindSettable(const std::string& name);

// A setting's range as --help and the manual page show it: "0.001..1".
std::string SettingRange(const SettingSpec& s);

// A setting's range and its value in a batch run's start settings, as --help and the manual
// page show them: "0.001..1, start 0.05".
std::string SettingRangeAndStart(const SettingSpec& s);

// What --help prints, no line over 80 columns; the algorithms, the settings and their ranges
// come from their tables.
std::string BatchUsage();

// What --reads prints: the names of the settings a run of `kind` may read (those of its setting
// groups; some count only with some choices of others), one a line.
std::string SettingsReadBy(AlgorithmKind kind);

// The format names joined by `by`, the last two by `last`: "csv, runs or long".
std::string FormatNames(const std::string& by, const std::string& last);
// The keys of the algorithms with a population, joined by ", ".
std::string PopulationKeys();

// Reads the command line (without the program name). Options take their value as the next
// argument or after "=" (--seed=5); every option but --set and --grid at most once. A lone "-" is
// refused: the problem is read from a named file and --out writes one, never standard input or
// output. Throws BatchInputError naming what is wrong.
BatchOptions ParseBatchArguments(const std::vector<std::string>& args);

// The settings a batch run starts from: what the option pages give at start-up, but with both
// delays 0.
void StartSettings(AlgParameters& params);

// Applies one --set: NAME is an AlgParameters field name, VALUE a number with "." in the option
// pages' range for it (a whole number for the integer settings). Throws BatchInputError.
void ApplySetting(const SettingAssignment& setting, AlgParameters& params);

}  // namespace quarmel
