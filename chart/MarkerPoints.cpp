#include "chart/MarkerPoints.h"

#include <algorithm>
#include <cstddef>

#include "chart/ChartTypes.h"

namespace quarmel {

namespace {

bool Holds(SolutionView s, int variable) {
    return variable >= 0 && static_cast<std::size_t>(variable) < s.Values.size();
}

// Appends the tuples of the Solutions from index `from` on; false when no axis is present
// (nothing appended).
bool AppendTuples(const SolutionList& list, std::size_t from, const MarkerAxes& axes,
                  std::vector<float>& out) {
    const bool y = AxisPresent(axes.DisplayYMin, axes.DisplayYMax);
    const bool x = AxisPresent(axes.DisplayXMin, axes.DisplayXMax);
    if (!x && !y) return false;
    if (from >= list.Count()) return true;
    // Reserving just the new tuples at every tick would move the whole list each time.
    const std::size_t needed = out.size() + (list.Count() - from) * (y ? 3 : 2);
    if (needed > out.capacity()) out.reserve(std::max(needed, 2 * out.capacity()));
    for (auto it = list.begin() + static_cast<std::ptrdiff_t>(from); it != list.end(); ++it) {
        const SolutionView s = *it;
        // A list read from a file may hold fewer values than the problem has variables.
        if (!Holds(s, axes.XVariable) || (y && !Holds(s, axes.YVariable))) continue;
        out.push_back(s.Values[axes.XVariable]);
        if (y) out.push_back(s.Values[axes.YVariable]);
        out.push_back(s.Value);
    }
    return true;
}

}  // namespace

std::vector<float> SolutionMarkers(const SolutionList& solutions, const MarkerAxes& axes) {
    std::vector<float> out;
    AppendSolutionMarkers(solutions, 0, axes, out);
    return out;
}

void AppendSolutionMarkers(const SolutionList& solutions, std::size_t from, const MarkerAxes& axes,
                           std::vector<float>& out) {
    // Without an axis only the first Solution has a marker: one that is new.
    if (!AppendTuples(solutions, from, axes, out) && from == 0 && !solutions.Empty()) {
        out.push_back(solutions.FuncValue(0));
    }
}

std::vector<float> PopulationMarkers(const SolutionList& population, const MarkerAxes& axes) {
    std::vector<float> out;
    if (!AppendTuples(population, 0, axes, out) && !population.Empty()) {
        out.assign(population.Count(), population.FuncValue(0));
    }
    return out;
}

}  // namespace quarmel
