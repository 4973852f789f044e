#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "chart/ChartModel.h"
#include "chart/MarkerPoints.h"
#include "model/Solution.h"

namespace quarmel {

// A run the convergence plot keeps, as the chart may draw its path again: the solutions it
// published (none while it goes on), its colour in the plot, whether its curve is hidden and
// whether it is of another problem than the newest run.
struct KeptPath {
    std::shared_ptr<const SolutionList> Solutions;
    std::array<std::uint8_t, 3> Colour{};
    bool Hidden = false;
    bool OtherProblem = false;
};

// The chart's extra paths for the kept runs, in the plot's order: one for each finished run the
// plot draws (not hidden, of the newest run's problem) with solutions, in its colour, its markers
// placed on `axes` as the current run's are.
std::vector<ColouredPath> KeptPathMarkers(const std::vector<KeptPath>& runs,
                                          const MarkerAxes& axes);

}  // namespace quarmel
