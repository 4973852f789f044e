#pragma once

#include <vector>

#include "chart/ChartTypes.h"
#include "model/Solution.h"

namespace quarmel {

class ChartModel;

// The chosen axes: the variable shown along X and along Y, and the display ranges, which tell
// whether each axis is present.
struct MarkerAxes {
    int XVariable = 0;
    int YVariable = 1;
    float DisplayXMin = 0.0f;
    float DisplayXMax = 0.0f;
    float DisplayYMin = 0.0f;
    float DisplayYMax = 0.0f;
};

inline bool operator==(const MarkerAxes& a, const MarkerAxes& b) {
    return a.XVariable == b.XVariable && a.YVariable == b.YVariable &&
           a.DisplayXMin == b.DisplayXMin && a.DisplayXMax == b.DisplayXMax &&
           a.DisplayYMin == b.DisplayYMin && a.DisplayYMax == b.DisplayYMax;
}
inline bool operator!=(const MarkerAxes& a, const MarkerAxes& b) {
    return !(a == b);
}

// The flat marker lists the chart draws, built from a run's lists for the chosen axes. The tuple
// size follows the display ranges: (x value, y value, f) when the Y axis is present, (x value, f)
// when only the X axis is, and a single f when there is no axis.

// One tuple per Solution in list order; with no axis, the first Solution's value once (nothing
// for an empty list). A Solution without a value for a chosen axis variable gives no tuple.
std::vector<float> SolutionMarkers(const SolutionList& solutions, const MarkerAxes& axes);
// What SolutionMarkers adds for the Solutions from index `from` on, appended to `out`: after the
// markers of the first `from` Solutions, out then holds the markers of the whole list, so a list
// that only grew costs only its new Solutions.
void AppendSolutionMarkers(const SolutionList& solutions, std::size_t from, const MarkerAxes& axes,
                           std::vector<float>& out);

// SolutionMarkers into `tuples`, together with their scene points as `placing` lays them out
// outside spiral mode (its ScenePoints(tuples, false)) into `scene`, in one pass: the first frame
// after a huge list was read waits for both. When the model reads the tuples as another kind
// than `axes` make (its ranges say other axes are present), only the tuples are built and the
// result is false.
bool SolutionMarkersPlaced(const SolutionList& solutions, const MarkerAxes& axes,
                           const ChartModel& placing, std::vector<float>& tuples,
                           std::vector<ScenePoint>& scene);

// One tuple per member; with no axis, the first member's value once for each member.
std::vector<float> PopulationMarkers(const SolutionList& population, const MarkerAxes& axes);

}  // namespace quarmel
