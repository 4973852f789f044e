#include "Steepest.h"

#include "algorithms/LocalSearch.h"
#include "model/Improvement.h"

namespace quarmel {

void RunSteepest(AlgParameters& params, SolutionList& workList, RunControl& control) {
    if (!RandomStart(params, workList, control)) return;
    const int n = params.VariableCount();
    if (n < 1) return;

    const bool maximize = params.Maximize();
    const std::uint64_t masks = MaskCount(n);
    std::vector<float> current = workList.At(workList.Count() - 1).Values;
    float c = workList.LastFuncValue();
    float b = c;
    std::vector<double> candidate(n);
    Neighbourhood neighbourhood(params);
    std::vector<double> best(n);

    for (;;) {
        bool chosen = false;
        for (std::uint64_t mask = 0; mask < masks; ++mask) {
            if (StopDue(control, mask)) return;
            control.PassPauseGate();
            neighbourhood.Make(current, mask, candidate);
            const float v = Evaluate(params, candidate);
            if (Improves(b, v, maximize)) {
                b = v;
                best.swap(candidate);
                chosen = true;
            }
        }
        // Without a chosen candidate b still equals c, which never improves on itself.
        if (!chosen || !Improves(c, b, maximize)) return;
        if (PublishStep(params, workList, best, b, control)) return;
        c = b;
        current.assign(best.begin(), best.end());
    }
}

}  // namespace quarmel
