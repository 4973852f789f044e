#pragma once

#include "algorithms/Globalsearch.h"
#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// Particle swarm optimisation (pagmo2's pso), run as RunWithPagmo runs it.
void RunParticleSwarm(AlgParameters& params, SolutionList& path, GeneticProgress& progress,
                      RunControl& control);

}  // namespace quarmel
