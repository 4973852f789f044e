#include "algorithms/DifferentialEvolution.h"

#include <pagmo/algorithms/de.hpp>
#include <pagmo/population.hpp>

#include "algorithms/PagmoRun.h"

namespace quarmel {

void RunDifferentialEvolution(AlgParameters& params, SolutionList& /*path*/,
                              GeneticProgress& progress, RunControl& control) {
    RunWithPagmo(params, progress, control, params.DePopSize,
                 [&](pagmo::population& population, unsigned seed) {
                     const pagmo::de de(params.DeGenerations, params.DeF, params.DeCR,
                                        params.DeVariant, params.DeFtol, params.DeXtol, seed);
                     population = de.evolve(population);
                 });
}

}  // namespace quarmel
