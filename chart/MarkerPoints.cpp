#include "MarkerPoints.h"

#include "chart/ChartTypes.h"

namespace quarmel {

namespace {

bool Holds(const Solution& s, int variable) {
    return variable >= 0 && static_cast<std::size_t>(variable) < s.Values.size();
}

// Appends the tuples of every Solution; false when no axis is present (nothing appended).
bool AppendTuples(const SolutionList& list, const MarkerAxes& axes, std::vector<float>& out) {
    const bool y = AxisPresent(axes.DisplayYMin, axes.DisplayYMax);
    const bool x = AxisPresent(axes.DisplayXMin, axes.DisplayXMax);
    if (!x && !y) return false;
    out.reserve(list.Count() * (y ? 3 : 2));
    for (const Solution& s : list) {
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
    if (!AppendTuples(solutions, axes, out) && !solutions.Empty()) {
        out.push_back(solutions.FuncValue(0));
    }
    return out;
}

std::vector<float> PopulationMarkers(const SolutionList& population, const MarkerAxes& axes) {
    std::vector<float> out;
    if (!AppendTuples(population, axes, out) && !population.Empty()) {
        out.assign(population.Count(), population.FuncValue(0));
    }
    return out;
}

}  // namespace quarmel
