#pragma once

#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// Greedy local search: from a random start point, each pass tries the direction masks in order
// and moves to the first neighbour that strictly improves on the current value; a pass without
// improvement ends the search. The WorkList ends as the start point followed by every step taken.
void RunGreedy(AlgParameters& params, SolutionList& workList, RunControl& control);

}  // namespace quarmel
