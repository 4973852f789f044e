#include "app/runs/RaceLanes.h"

#include <algorithm>

#include "algorithms/AlgorithmTable.h"
#include "app/text/NumberText.h"

namespace quarmel {

void RaceLanes::Start(const std::vector<AlgorithmKind>& kinds, bool maximize) {
    maximize_ = maximize;
    lanes_.clear();
    for (AlgorithmKind kind : kinds) {
        Lane lane;
        lane.Kind = kind;
        lanes_.push_back(lane);
    }
}

void RaceLanes::Clear() {
    for (Lane& lane : lanes_) lane.Running = false;
}

void RaceLanes::Update(std::size_t index, const SolutionList& published, bool finished) {
    if (index >= lanes_.size()) return;
    Lane& lane = lanes_[index];
    for (std::size_t i = lane.Seen; i < published.Count(); ++i) {
        const float value = published.At(i).Value;
        if (!lane.Best || (maximize_ ? value > *lane.Best : value < *lane.Best)) lane.Best = value;
    }
    lane.Seen = std::max(lane.Seen, published.Count());
    if (finished) lane.Running = false;
}

std::size_t RaceLanes::RunningCount() const {
    return static_cast<std::size_t>(
        std::count_if(lanes_.begin(), lanes_.end(), [](const Lane& l) { return l.Running; }));
}

std::string RaceLanes::StatusText() const {
    return "Race: " + std::to_string(RunningCount()) + " of " + std::to_string(lanes_.size()) +
           " running";
}

std::string RaceLanes::LegendLine(std::size_t index) const {
    const Lane& lane = lanes_.at(index);
    return std::string(AlgorithmName(lane.Kind)) + "  " + (lane.Best ? PrintfG(*lane.Best) : "-");
}

}  // namespace quarmel
