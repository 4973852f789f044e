#pragma once

#include "algorithms/Globalsearch.h"
#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// Random search, the baseline every other algorithm should beat: RandomSamples points drawn
// uniformly within the bounds, each improvement on the best so far published as the next step of
// the path. A stop or the budget ends it at the next sample.
void RunRandomSearch(AlgParameters& params, SolutionList& path, GeneticProgress& progress,
                     RunControl& control);

}  // namespace quarmel
