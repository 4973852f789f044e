#pragma once

#include "algorithms/Globalsearch.h"
#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// Differential evolution (pagmo2's de), run as RunWithPagmo runs it.
void RunDifferentialEvolution(AlgParameters& params, SolutionList& path, GeneticProgress& progress,
                              RunControl& control);

}  // namespace quarmel
