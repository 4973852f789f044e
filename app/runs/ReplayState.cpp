#include "app/runs/ReplayState.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quarmel {

void ReplayState::Begin(std::size_t steps, std::shared_ptr<const GenerationStore> generations) {
    steps_ = steps;
    step_ = Last();
    engaged_ = false;
    playing_ = false;
    carried_ = 0.0;
    generations_ = std::move(generations);
}

bool ReplayState::SetStep(std::size_t k) {
    if (!Available()) return false;
    k = std::min(k, Last());
    const bool changed = k != step_ || !engaged_;
    step_ = k;
    engaged_ = true;
    return changed;
}

void ReplayState::SetPlaying(bool on) {
    if (!Available() || on == playing_) return;
    playing_ = on;
    carried_ = 0.0;
    if (!on) return;
    engaged_ = true;
    if (step_ == Last()) step_ = 0;
}

double ReplayState::StepsPerSecond() const {
    return std::max(kMinStepsPerSecond, static_cast<double>(steps_) / kPlaySeconds);
}

bool ReplayState::Advance(double ms) {
    if (!playing_) return false;
    carried_ += ms / 1000.0 * StepsPerSecond();
    const double whole = std::floor(carried_);
    carried_ -= whole;
    const std::size_t before = step_;
    const double room = static_cast<double>(Last() - step_);
    step_ = whole >= room ? Last() : step_ + static_cast<std::size_t>(whole);
    if (step_ == Last()) {
        playing_ = false;
        carried_ = 0.0;
    }
    return step_ != before;
}

ListChange FollowPath(const SolutionList& run, std::size_t count, SolutionList& path) {
    count = std::min(count, run.Count());
    if (path.Count() > count) {
        path.Resize(count, path.VariableCount());
        return ListChange::Replaced;
    }
    if (path.Count() == count) return ListChange::None;
    for (std::size_t i = path.Count(); i < count; ++i) path.Append(run.At(i));
    return ListChange::Grown;
}

std::string ReplayStepText(const ReplayState& replay) {
    if (!replay.Available()) return "Step 0 / 0";
    return "Step " + std::to_string(replay.Step() + 1) + " / " + std::to_string(replay.Last() + 1);
}

std::string ReplayGenerationsText(const GenerationStore* generations) {
    if (generations == nullptr) return "";
    if (generations->Stride() == 1) return "The population of every generation is shown.";
    const std::size_t megabytes = GenerationStore::kDefaultByteBound >> 20;
    return "To stay within " + std::to_string(megabytes) +
           " MB, the populations of one generation in " + std::to_string(generations->Stride()) +
           " and of the last one are kept; a step shows the nearest kept one.";
}

}  // namespace quarmel
