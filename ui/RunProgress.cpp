#include "ui/RunProgress.h"

#include "ui/io/NumberText.h"

namespace quarmel {

std::string InitialSolutionText(const SolutionList& solutions) {
    if (solutions.Empty()) return {};
    return GeneralText(solutions.FuncValue(0), 7);
}

std::string OptimalSolutionText(const SolutionList& solutions, bool maximize) {
    if (solutions.Empty()) return {};
    return GeneralText(solutions.Best(maximize).Value, 7);
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
