#include "app/chartpage/MarkerFeed.h"

#include <utility>

namespace quarmel {

void MarkerFeed::Update(const SolutionList& solutions, const MarkerAxes& axes, ChartModel& model) {
    if (pending_ == ListChange::Replaced || axes != axes_ || solutions.Count() < shown_) {
        // The whole list's scene points are made with its tuples, in the same pass.
        std::vector<float> tuples;
        std::vector<ScenePoint> scene;
        if (SolutionMarkersPlaced(solutions, axes, model, tuples, scene)) {
            model.SetSolutionPoints(std::move(tuples), std::move(scene));
        } else {
            model.SetSolutionPoints(std::move(tuples));
        }
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
