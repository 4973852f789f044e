#pragma once

#include <string>

#include "model/Problem.h"
#include "model/Solution.h"

namespace quarmel {

// A list as CSV, as the batch runner prints it and the window exports it: a header of the
// variable names then "F", one row per solution, every number with 9 significant digits and ".".
std::string SolutionsCsv(const Problem& problem, const SolutionList& solutions);

}  // namespace quarmel
