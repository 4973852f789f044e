#pragma once

#include <memory>

#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// What a genetic run shows while it goes on. Only the run changes these, and only through
// RunControl::Publish; the window reads them under the same lock. The population is an immutable
// snapshot: a reader copies the pointer under the lock and may keep it as long as it likes, and
// the run then makes its next population in fresh storage instead of reusing that snapshot's.
struct GeneticProgress {
    SolutionList History;  // a copy of the best so far after every finished generation
    // The current population, replaced after every operator; never null.
    std::shared_ptr<const SolutionList> Population = std::make_shared<const SolutionList>();
};

// The whole genetic run: the initial population, then Iterations generations of selection,
// crossover and mutation, publishing into progress as it goes and ending early on a stop
// request. Returns a copy of the history.
SolutionList RunGenetic(GeneticProgress& progress, AlgParameters& params, RunControl& control);

}  // namespace quarmel
