#pragma once

#include <functional>

#include "algorithms/Globalsearch.h"
#include "algorithms/RunControl.h"
#include "model/Algparameters.h"

namespace pagmo {
class population;
}

namespace quarmel {

// Evolves a population of `size` with one of pagmo2's algorithms on the run's problem, as the
// window and the batch runner run every algorithm: each fitness call is an evaluation of the
// problem (counted there, undefined values as 0), a maximised problem is minimised negated, and
// the run's seed seeds both the first population and the algorithm (`evolve` gets it to build
// the algorithm with). Every `size` evaluations make a generation (the first is the first
// population): its points become the published population and, after the first, the best so far
// joins the history; then comes the delay, and a stop or the used budget ends the run there. The
// algorithm's own stopping rules (its generations, its tolerances) end it as they would end a
// direct call.
void RunWithPagmo(AlgParameters& params, GeneticProgress& progress, RunControl& control, int size,
                  const std::function<void(pagmo::population& population, unsigned seed)>& evolve);

}  // namespace quarmel
