#pragma once

#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// What a genetic run shows while it goes on. Only the run changes these lists, and only through
// RunControl::Publish; the window copies them under the same lock.
struct GeneticProgress {
    SolutionList History;     // a copy of the best so far after every finished generation
    SolutionList Population;  // the current population, replaced after every operator
};

// The whole genetic run: the initial population, then Iterations generations of selection,
// crossover and mutation, publishing into progress as it goes and ending early on a stop
// request. Returns a copy of the history.
SolutionList RunGenetic(GeneticProgress& progress, AlgParameters& params, RunControl& control);

}  // namespace quarmel
