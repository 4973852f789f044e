#include "algorithms/RunAlgorithm.h"

#include "algorithms/AlgorithmTable.h"

namespace quarmel {

void RunAlgorithm(AlgorithmKind kind, AlgParameters& params, SolutionList& workList,
                  GeneticProgress& progress, RunControl& control) {
    if (IsAlgorithm(kind)) AlgorithmOf(kind).Run(params, workList, progress, control);
}

}  // namespace quarmel
