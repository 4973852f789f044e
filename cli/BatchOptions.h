#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/Algparameters.h"

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

struct BatchOptions {
    AlgorithmKind Algorithm = Greedy;
    std::optional<std::uint32_t> Seed;  // the clock's when absent
    int Runs = 1;
    bool RunsGiven = false;  // --runs switches the output to the summary table, also for 1
    std::vector<SettingAssignment> Settings;
    bool Population = false;
    std::optional<std::string> OutFile;
    std::string ProblemFile;
    bool Help = false;
    bool Version = false;
};

// What --help prints; the settings and their ranges come from the settings table.
std::string BatchUsage();

// Reads the command line (without the program name). Options take their value as the next
// argument or after "=" (--seed=5). Throws BatchInputError naming what is wrong.
BatchOptions ParseBatchArguments(const std::vector<std::string>& args);

// The settings a batch run starts from: what the option pages give at start-up, but with both
// delays 0.
void StartSettings(AlgParameters& params);

// Applies one --set: NAME is an AlgParameters field name, VALUE a number with "." in the option
// pages' range for it (a whole number for the integer settings). Throws BatchInputError.
void ApplySetting(const SettingAssignment& setting, AlgParameters& params);

}  // namespace quarmel
