#include "app/runs/RunProgress.h"

#include "app/text/NumberText.h"
#include "model/Improvement.h"

#include <algorithm>
#include <cstring>

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
    for (const SolutionView s : solutions) {
        if (Improves(best, s.Value, maximize)) best = s.Value;
    }
    return GeneralText(best, 7);
}

namespace {

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameSolution(SolutionView a, SolutionView b) {
    if (!SameBits(a.Value, b.Value) || a.Values.size() != b.Values.size()) return false;
    for (std::size_t i = 0; i < a.Values.size(); ++i) {
        if (!SameBits(a.Values[i], b.Values[i])) return false;
    }
    return true;
}

}  // namespace

ListChange CompareSolutionLists(const SolutionList& before, const SolutionList& after) {
    if (after.Count() < before.Count()) return ListChange::Replaced;
    // From the end: a list that was replaced differs soonest in its latest solutions.
    for (std::size_t i = before.Count(); i-- > 0;) {
        if (!SameSolution(before.At(i), after.At(i))) return ListChange::Replaced;
    }
    return after.Count() == before.Count() ? ListChange::None : ListChange::Grown;
}

ListChange CombineChanges(ListChange first, ListChange then) {
    return std::max(first, then);
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
