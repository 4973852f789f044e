#include "algorithms/Steepest.h"

#include <vector>

#include "algorithms/LocalSearch.h"
#include "model/Improvement.h"

namespace quarmel {

void RunSteepest(AlgParameters& params, SolutionList& workList, RunControl& control) {
    HillClimb climb(params, workList, control);
    if (!climb.Start()) return;
    const bool maximize = climb.Maximize();
    std::vector<double> best;
    for (;;) {
        float b = climb.Value();
        bool chosen = false;
        const bool going = climb.Pass([&](std::vector<double>& candidate, float v) {
            if (Improves(b, v, maximize)) {
                b = v;
                best.swap(candidate);
                chosen = true;
            }
            return false;  // every mask is tried
        });
        if (!going) return;
        // Without a chosen candidate b still equals the current value, which never improves on
        // itself.
        if (!chosen || !Improves(climb.Value(), b, maximize)) return;
        if (!climb.MoveTo(best, b)) return;
    }
}

}  // namespace quarmel
