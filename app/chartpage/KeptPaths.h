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

// Keeps the chart model's kept paths equal to KeptPathMarkers at a cost that follows what is
// new. A list is known by its address: while the same lists are drawn in the same colours on the
// same axes and each only grows (a race's lanes), each path is extended by the markers of its new
// solutions alone; other lists, other axes, a shorter list or a Rebuild give the model every path
// whole. A list put in the place of another must therefore be a new list, or be followed by a
// Rebuild.
class KeptPathFeed {
  public:
    // Gives the model the kept paths for `runs` on `axes`; returns whether they changed.
    bool Update(const std::vector<KeptPath>& runs, const MarkerAxes& axes, ChartModel& model);
    // The next update gives every path whole.
    void Rebuild() { rebuild_ = true; }

  private:
    struct Shown {
        std::shared_ptr<const SolutionList> List;  // held, so its address is not reused
        std::array<std::uint8_t, 3> Colour{};
        std::size_t Count = 0;  // solutions whose markers the model holds
    };
    std::vector<Shown> shown_;
    MarkerAxes axes_;
    bool rebuild_ = true;
    std::vector<float> more_;  // the new tuples, storage kept from update to update
};

// A race lane's population as the chart draws it: its members in the lane's colour.
struct LanePopulation {
    SolutionList Members;
    std::array<std::uint8_t, 3> Colour{};
};

// The populations' markers placed on `axes` (PopulationMarkers), each in its lane's colour;
// lanes without members give none.
std::vector<ColouredPath> LanePopulationMarkers(const std::vector<LanePopulation>& lanes,
                                                const MarkerAxes& axes);

}  // namespace quarmel
