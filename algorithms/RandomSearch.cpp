#include "algorithms/RandomSearch.h"

#include <random>
#include <vector>

#include "model/Improvement.h"

namespace quarmel {

void RunRandomSearch(AlgParameters& params, SolutionList& path, GeneticProgress& /*progress*/,
                     RunControl& control) {
    control.Publish([&] { path.Clear(); });
    if (params.Compile() != -1 || params.VariableCount() == 0) return;
    const int n = params.VariableCount();
    // A generator of the run's own, seeded here: the shared one's draws belong to the four
    // searches' sequences.
    std::mt19937_64 engine(control.Seed());
    std::vector<float> point(n);
    std::vector<double> at(n);
    const bool maximize = params.Maximize();
    bool any = false;
    float best = 0.0f;
    for (int sample = 0; sample < params.RandomSamples; ++sample) {
        control.PassPauseGate();
        if (control.StopRequested()) return;
        for (int i = 0; i < n; ++i) {
            const double unit = static_cast<double>(engine() >> 11) * 0x1p-53;  // [0, 1)
            const double lo = params.VariableMin(i);
            point[i] = static_cast<float>(lo + (double{params.VariableMax(i)} - lo) * unit);
            at[i] = point[i];
        }
        const auto value = static_cast<float>(params.Eval(at.data()));
        if (any && !Improves(best, value, maximize)) continue;
        any = true;
        best = value;
        control.Publish([&] { path.Append(point.begin(), point.end(), value); });
        control.Sleep(params.ReferenceSleep);
    }
}

}  // namespace quarmel
