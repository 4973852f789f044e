#include "app/RunProgress.h"

#include "app/NumberText.h"
#include "model/Improvement.h"

namespace quarmel {

std::string InitialSolutionText(const SolutionList& solutions) {
    if (solutions.Empty()) return {};
    return GeneralText(solutions.FuncValue(0), 7);
}

std::string OptimalSolutionText(const SolutionList& solutions, bool maximize) {
    if (solutions.Empty()) return {};
    // The window's best value follows the improvement rule, as SolutionList::Best does: a
    // not-a-number value is shown only when no value of the run is a number.
    float best = solutions.FuncValue(0);
    for (const Solution& s : solutions) {
        if (Improves(best, s.Value, maximize)) best = s.Value;
    }
    return GeneralText(best, 7);
}

std::string UnusableRangeMessage(const Problem& problem) {
    for (const VariableSpec& v : problem.Variables()) {
        // Also refuses bounds that do not compare at all.
        if (!(v.Max > v.Min))
            return "The maximum of variable " + v.Name + " must be greater than its minimum.";
    }
    return {};
}

}  // namespace quarmel
