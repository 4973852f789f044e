#include "app/examples/OptimumGap.h"

#include "app/text/NumberText.h"

namespace quarmel {

std::optional<float> GapToOptimum(const std::optional<float>& best,
                                  const std::optional<ExampleProblem>& known, bool maximize) {
    if (!best || !known) return std::nullopt;
    const double gap = static_cast<double>(*best) - known->Optimum.Value;
    return static_cast<float>(maximize ? -gap : gap);
}

std::string OptimumGapText(float value, const ExampleProblem& known, bool maximize) {
    const float gap = *GapToOptimum(value, known, maximize);
    std::string where;
    for (double x : known.Optimum.Location)
        where += (where.empty() ? "" : "; ") + GeneralText(x, 7);
    return "gap to the known optimum " + GeneralText(gap, 7) + " (optimum " +
           GeneralText(known.Optimum.Value, 7) + " at (" + where + "))";
}

double OptimumTarget(const KnownOptimum& optimum, bool maximize) {
    return maximize ? optimum.Value - optimum.Tolerance : optimum.Value + optimum.Tolerance;
}

}  // namespace quarmel
