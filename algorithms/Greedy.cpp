#include "algorithms/Greedy.h"

#include <vector>

#include "algorithms/LocalSearch.h"
#include "model/Improvement.h"

namespace quarmel {

void RunGreedy(AlgParameters& params, SolutionList& workList, RunControl& control) {
    HillClimb climb(params, workList, control);
    if (!climb.Start()) return;
    const bool maximize = climb.Maximize();
    std::vector<double> next;
    for (;;) {
        const float c = climb.Value();
        bool found = false;
        float value = 0.0f;
        const bool going = climb.Pass([&](std::vector<double>& candidate, float v) {
            found = Improves(c, v, maximize);
            if (found) {
                value = v;
                next.swap(candidate);
            }
            return found;  // the first improvement ends the pass
        });
        if (!going || !found || !climb.MoveTo(next, value)) return;
    }
}

}  // namespace quarmel
