#include "chart/MarkerPoints.h"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <thread>

#include "chart/ChartModel.h"
#include "chart/ChartTypes.h"

namespace quarmel {

namespace {

// A list of millions is turned into tuples on two threads: the tuples of a Solution depend on
// it alone, and the Chart page waits for them before its first frame.
constexpr std::size_t kSolutionsPerThread = 1 << 20;

// Runs work(0) and work(1) on two threads, or both on this one when no thread can be started;
// what work(1) throws (no room for a list) is thrown here.
template <class Work>
void OnTwoThreads(const Work& work) {
    std::exception_ptr failed;
    std::thread other;
    try {
        other = std::thread([&work, &failed] {
            try {
                work(1);
            } catch (...) {
                failed = std::current_exception();
            }
        });
    } catch (const std::exception&) {
        work(1);
    }
    try {
        work(0);
    } catch (...) {
        if (other.joinable()) other.join();
        throw;
    }
    if (other.joinable()) other.join();
    if (failed) std::rethrow_exception(failed);
}

// Appends the tuples of the Solutions from index `from` on; false when no axis is present
// (nothing appended). With `scene`, also appends each tuple's scene point as `placing` lays it
// out, in the same pass.
bool AppendTuples(const SolutionList& list, std::size_t from, const MarkerAxes& axes,
                  std::vector<float>& out, const ChartModel* placing = nullptr,
                  std::vector<ScenePoint>* scene = nullptr) {
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
    const std::size_t placedAt = scene ? scene->size() : 0;
    const bool parallel = count >= 2 * kSolutionsPerThread;
    // Growing a list writes all its new room once (and first touches its pages), on one thread:
    // the two lists grow side by side.
    auto grow = [&](int which) {
        if (which == 0) {
            out.resize(needed);
        } else if (scene) {
            scene->resize(placedAt + count);
        }
    };
    if (parallel && scene) {
        OnTwoThreads(grow);
    } else {
        grow(0);
        grow(1);
    }
    const std::size_t xv = static_cast<std::size_t>(axes.XVariable);
    const std::size_t yv = static_cast<std::size_t>(std::max(axes.YVariable, 0));
    auto fill = [&](std::size_t begin, std::size_t end) {
        float* o = out.data() + at + (begin - from) * size;
        ScenePoint* p = scene ? scene->data() + placedAt + (begin - from) : nullptr;
        for (std::size_t i = begin; i < end; ++i) {
            const float a = list.VarValue(i, xv);
            const float b = y ? list.VarValue(i, yv) : 0.0f;
            const float f = list.FuncValue(i);
            *o++ = a;
            if (y) *o++ = b;
            *o++ = f;
            if (p) *p++ = y ? placing->MapTriple(a, b, f) : placing->MapPair(a, f);
        }
    };
    const std::size_t middle = from + count / 2;
    if (!parallel) {
        fill(from, list.Count());
        return true;
    }
    OnTwoThreads([&](int half) {
        if (half == 1) {
            fill(middle, list.Count());
        } else {
            fill(from, middle);
        }
    });
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

bool SolutionMarkersPlaced(const SolutionList& solutions, const MarkerAxes& axes,
                           const ChartModel& placing, std::vector<float>& tuples,
                           std::vector<ScenePoint>& scene) {
    tuples.clear();
    scene.clear();
    const bool y = AxisPresent(axes.DisplayYMin, axes.DisplayYMax);
    const bool x = AxisPresent(axes.DisplayXMin, axes.DisplayXMax);
    // The model reads triples when its Y axis is present, pairs when only its X axis is.
    const bool sameKind = (x || y) && y == placing.YAxisPresent() && (placing.XAxisPresent() || y);
    if (!sameKind) {
        AppendSolutionMarkers(solutions, 0, axes, tuples);
        return false;
    }
    AppendTuples(solutions, 0, axes, tuples, &placing, &scene);
    // A list without the axis variables has no tuples, and so no points.
    return true;
}

std::vector<float> PopulationMarkers(const SolutionList& population, const MarkerAxes& axes) {
    std::vector<float> out;
    if (!AppendTuples(population, 0, axes, out) && !population.Empty()) {
        out.assign(population.Count(), population.FuncValue(0));
    }
    return out;
}

}  // namespace quarmel
