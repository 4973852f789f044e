#pragma once

#include <string>

#include "model/Algparameters.h"

namespace quarmel {

// The problem of a data file as the window holds it after Open: the function name and formula
// as its edits show them, and the Problem rebuilt from the table (values rounded to 4
// significant digits, only the variables the formula uses, the formula normalised and compiled).
struct BatchProblem {
    std::string FunctionName;
    std::string Formula;  // as the formula edit shows it: what a Save writes
};

// Reads `path` into `params` (its Problem part; the settings are left alone). The file's
// solutions are ignored. Throws BatchInputError when the file cannot be read, the formula does
// not compile, or a variable's maximum is not above its minimum.
BatchProblem LoadBatchProblem(const std::string& path, AlgParameters& params);

}  // namespace quarmel
