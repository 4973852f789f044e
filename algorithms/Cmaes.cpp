#include "algorithms/Cmaes.h"

#include <pagmo/algorithms/cmaes.hpp>
#include <pagmo/population.hpp>

#include "algorithms/PagmoRun.h"

namespace quarmel {

void RunCmaes(AlgParameters& params, SolutionList& /*path*/, GeneticProgress& progress,
              RunControl& control) {
    RunWithPagmo(params, progress, control, params.CmaPopSize,
                 [&](pagmo::population& population, unsigned seed) {
                     // cc, cs, c1 and cmu as pagmo works them out for the problem's dimension.
                     const pagmo::cmaes cmaes(params.CmaGenerations, -1, -1, -1, -1,
                                              params.CmaSigma0, params.CmaFtol, params.CmaXtol,
                                              false, true, seed);
                     population = cmaes.evolve(population);
                 });
}

}  // namespace quarmel
