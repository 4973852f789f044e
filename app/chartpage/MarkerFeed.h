#pragma once

#include <cstddef>
#include <vector>

#include "app/runs/RunProgress.h"
#include "chart/ChartModel.h"
#include "chart/MarkerPoints.h"
#include "model/Solution.h"

namespace quarmel {

// Keeps the chart model's solution markers in step with the window's solution list at a cost
// that follows what is new. A run's list only grows, so while it does and the axes stay the
// same, the model gets the tuples of the solutions added since the last update appended; a
// replaced or shorter list, other axes or a Rebuild give it the markers of the whole list.
class MarkerFeed {
  public:
    // How the list changed since the previous note, as PollRun reports it; the changes between
    // two updates add up.
    void Note(ListChange change) { pending_ = CombineChanges(pending_, change); }
    // The next update builds the markers of the whole list.
    void Rebuild() { pending_ = ListChange::Replaced; }
    // Gives the model the markers of `solutions` (SolutionMarkers) for `axes`.
    void Update(const SolutionList& solutions, const MarkerAxes& axes, ChartModel& model);

  private:
    ListChange pending_ = ListChange::Replaced;
    std::size_t shown_ = 0;  // solutions whose markers the model holds
    MarkerAxes axes_;
    std::vector<float> more_;  // the new tuples, storage kept from tick to tick
};

}  // namespace quarmel
