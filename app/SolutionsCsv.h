#pragma once

#include <string>

#include "model/Problem.h"
#include "model/Solution.h"

namespace quarmel {

// A field of a CSV row: quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

// A list as CSV, as the batch runner prints it and the window exports it: a header of the
// variable names then "F" (unless header is false), one row per solution, every number with 9
// significant digits and ".".
std::string SolutionsCsv(const Problem& problem, const SolutionList& solutions, bool header = true);

}  // namespace quarmel
