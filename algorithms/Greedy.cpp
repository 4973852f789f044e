#include "Greedy.h"

#include "algorithms/LocalSearch.h"
#include "model/Improvement.h"

namespace quarmel {

void RunGreedy(AlgParameters& params, SolutionList& workList, RunControl& control) {
    if (!RandomStart(params, workList, control)) return;
    const int n = params.VariableCount();
    if (n < 1) return;

    const bool maximize = params.Maximize();
    const std::uint64_t masks = MaskCount(n);
    std::vector<float> current = workList.At(workList.Count() - 1).Values;
    float c = workList.LastFuncValue();
    std::vector<double> candidate(n);
    Neighbourhood neighbourhood(params);

    for (;;) {
        bool moved = false;
        for (std::uint64_t mask = 0; mask < masks; ++mask) {
            if (StopDue(control, mask)) return;
            control.PassPauseGate();
            neighbourhood.Make(current, mask, candidate);
            const float v = Evaluate(params, candidate);
            if (!Improves(c, v, maximize)) continue;
            if (PublishStep(params, workList, candidate, v, control)) return;
            c = v;
            current.assign(candidate.begin(), candidate.end());
            moved = true;
            break;
        }
        if (!moved) return;
    }
}

}  // namespace quarmel
