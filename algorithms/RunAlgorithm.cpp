#include "RunAlgorithm.h"

#include "algorithms/Annealing.h"
#include "algorithms/Greedy.h"
#include "algorithms/Steepest.h"

namespace quarmel {

void RunAlgorithm(AlgorithmKind kind, AlgParameters& params, SolutionList& workList,
                  GeneticProgress& progress, RunControl& control) {
    switch (kind) {
        case Greedy:
            RunGreedy(params, workList, control);
            break;
        case Steepest:
            RunSteepest(params, workList, control);
            break;
        case SimulatedAnnealing:
            RunAnnealing(params, workList, control);
            break;
        case Genetic:
            RunGenetic(progress, params, control);
            break;
        default:
            break;  // nothing to run
    }
}

}  // namespace quarmel
