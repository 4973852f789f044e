#include "chart/MarkerPoints.h"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <thread>

#include "chart/ChartTypes.h"

namespace quarmel {

namespace {

// A list of millions is turned into tuples on two threads: the tuples of a Solution depend on
// it alone, and the Chart page waits for them before its first frame.
constexpr std::size_t kSolutionsPerThread = 1 << 20;

// Appends the tuples of the Solutions from index `from` on; false when no axis is present
// (nothing appended).
bool AppendTuples(const SolutionList& list, std::size_t from, const MarkerAxes& axes,
                  std::vector<float>& out) {
    const bool y = AxisPresent(axes.DisplayYMin, axes.DisplayYMax);
    const bool x = AxisPresent(axes.DisplayXMin, axes.DisplayXMax);
    if (!x && !y) return false;
    if (from >= list.Count()) return true;
    // All Solutions of a list hold the same number of values; one read from a file may hold
    // fewer than the problem has variables, and then none has a tuple.
    auto holds = [&list](int variable) {
        return variable >= 0 && static_cast<std::size_t>(variable) < list.VariableCount();
    };
    if (!holds(axes.XVariable) || (y && !holds(axes.YVariable))) return true;
    const std::size_t size = y ? 3 : 2, at = out.size(), count = list.Count() - from;
    // Reserving just the new tuples at every tick would move the whole list each time.
    const std::size_t needed = at + count * size;
    if (needed > out.capacity()) out.reserve(std::max(needed, 2 * out.capacity()));
    out.resize(needed);
    const std::size_t xv = static_cast<std::size_t>(axes.XVariable);
    const std::size_t yv = static_cast<std::size_t>(std::max(axes.YVariable, 0));
    auto fill = [&](std::size_t begin, std::size_t end) {
        float* o = out.data() + at + (begin - from) * size;
        for (std::size_t i = begin; i < end; ++i) {
            *o++ = list.VarValue(i, xv);
            if (y) *o++ = list.VarValue(i, yv);
            *o++ = list.FuncValue(i);
        }
    };
    const std::size_t middle = from + count / 2;
    if (count < 2 * kSolutionsPerThread) {
        fill(from, list.Count());
        return true;
    }
    std::thread other;
    try {
        other = std::thread(fill, middle, list.Count());
    } catch (const std::exception&) {
        fill(middle, list.Count());
    }
    fill(from, middle);
    if (other.joinable()) other.join();
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
