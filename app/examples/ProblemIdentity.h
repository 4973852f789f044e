#pragma once

#include <string>

#include "model/Problem.h"

namespace quarmel {

// What makes two problems the same problem wherever results are compared or carried over (a
// known optimum, an experiment's problem file, the runs a convergence plot draws together): the
// formula, each variable's name and range, and the direction. The defaults are left out: they
// move no optimum, and no algorithm starts from them.
std::string ProblemKey(const Problem& problem);
bool SameProblem(const Problem& a, const Problem& b);

}  // namespace quarmel
