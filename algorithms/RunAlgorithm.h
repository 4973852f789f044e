#pragma once

#include "algorithms/Globalsearch.h"
#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// Runs the algorithm of the given kind to its end. The local searches publish their path into
// workList, the genetic algorithm its history and population into progress; the other one is
// left alone. A kind outside the algorithm table runs nothing.
void RunAlgorithm(AlgorithmKind kind, AlgParameters& params, SolutionList& workList,
                  GeneticProgress& progress, RunControl& control);

}  // namespace quarmel
