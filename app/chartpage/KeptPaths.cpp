#include "app/chartpage/KeptPaths.h"

namespace quarmel {

namespace {

bool Drawn(const KeptPath& run) {
    return run.Solutions && !run.Solutions->Empty() && !run.Hidden && !run.OtherProblem;
}

}  // namespace

std::vector<ColouredPath> KeptPathMarkers(const std::vector<KeptPath>& runs,
                                          const MarkerAxes& axes) {
    std::vector<ColouredPath> paths;
    for (const KeptPath& run : runs) {
        if (!Drawn(run)) continue;
        paths.push_back({SolutionMarkers(*run.Solutions, axes), run.Colour});
    }
    return paths;
}

bool KeptPathFeed::Update(const std::vector<KeptPath>& runs, const MarkerAxes& axes,
                          ChartModel& model) {
    std::vector<Shown> now;
    for (const KeptPath& run : runs) {
        if (Drawn(run)) now.push_back({run.Solutions, run.Colour, run.Solutions->Count()});
    }
    bool whole = rebuild_ || axes != axes_ || now.size() != shown_.size();
    for (std::size_t i = 0; !whole && i < now.size(); ++i) {
        whole = now[i].List != shown_[i].List || now[i].Colour != shown_[i].Colour ||
                now[i].Count < shown_[i].Count;
    }
    bool changed = false;
    if (whole) {
        changed = model.SetKeptPaths(KeptPathMarkers(runs, axes));
    } else {
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (now[i].Count == shown_[i].Count) continue;
            more_.clear();
            AppendSolutionMarkers(*now[i].List, shown_[i].Count, axes, more_);
            if (more_.empty()) continue;
            model.AppendKeptPoints(i, more_);
            changed = true;
        }
    }
    shown_ = std::move(now);
    axes_ = axes;
    rebuild_ = false;
    return changed;
}

std::vector<ColouredPath> LanePopulationMarkers(const std::vector<LanePopulation>& lanes,
                                                const MarkerAxes& axes) {
    std::vector<ColouredPath> markers;
    for (const LanePopulation& lane : lanes) {
        if (!lane.Members.Empty())
            markers.push_back({PopulationMarkers(lane.Members, axes), lane.Colour});
    }
    return markers;
}

}  // namespace quarmel
