#pragma once

#include "algorithms/Globalsearch.h"
#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// CMA-ES, the covariance matrix adaptation evolution strategy, with its bound handling on and its
// adapted state kept over the generations of a run, run as RunWithPagmo runs it.
void RunCmaes(AlgParameters& params, SolutionList& path, GeneticProgress& progress,
              RunControl& control);

}  // namespace quarmel
