#include "app/OptimumGap.h"

namespace quarmel {

std::optional<float> GapToOptimum(const std::optional<float>& best,
                                  const std::optional<ExampleProblem>& known, bool maximize) {
    if (!best || !known) return std::nullopt;
    const double gap = static_cast<double>(*best) - known->Optimum.Value;
    return static_cast<float>(maximize ? -gap : gap);
}

double OptimumTarget(const KnownOptimum& optimum, bool maximize) {
    return maximize ? optimum.Value - optimum.Tolerance : optimum.Value + optimum.Tolerance;
}

}  // namespace quarmel
