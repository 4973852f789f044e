#include "algorithms/ParticleSwarm.h"

#include <pagmo/algorithms/pso.hpp>
#include <pagmo/population.hpp>

#include "algorithms/PagmoRun.h"

namespace quarmel {

void RunParticleSwarm(AlgParameters& params, SolutionList& /*path*/, GeneticProgress& progress,
                      RunControl& control) {
    RunWithPagmo(params, progress, control, params.PsoPopSize,
                 [&](pagmo::population& population, unsigned seed) {
                     // pagmo's topology: a ring where each particle sees four neighbours.
                     const pagmo::pso pso(params.PsoGenerations, params.PsoOmega, params.PsoEta1,
                                          params.PsoEta2, params.PsoMaxVel, params.PsoVariant, 2u,
                                          4u, false, seed);
                     population = pso.evolve(population);
                 });
}

}  // namespace quarmel
