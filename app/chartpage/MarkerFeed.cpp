#include "app/chartpage/MarkerFeed.h"

namespace quarmel {

void MarkerFeed::Update(const SolutionList& solutions, const MarkerAxes& axes, ChartModel& model) {
    if (pending_ == ListChange::Replaced || axes != axes_ || solutions.Count() < shown_) {
        model.SetSolutionPoints(SolutionMarkers(solutions, axes));
    } else if (solutions.Count() > shown_) {
        more_.clear();
        AppendSolutionMarkers(solutions, shown_, axes, more_);
        model.AppendSolutionPoints(more_);
    }
    shown_ = solutions.Count();
    axes_ = axes;
    pending_ = ListChange::None;
}

}  // namespace quarmel
