#pragma once

#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// Steepest local search: each pass draws one neighbour per direction mask from the same current
// point and moves to the best of them (the lowest mask among equal values) if it strictly
// improves on the current value; otherwise the search ends. Every pass costs 2^n evaluations.
void RunSteepest(AlgParameters& params, SolutionList& workList, RunControl& control);

}  // namespace quarmel
