#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "algorithms/GenerationStore.h"
#include "app/runs/RunProgress.h"
#include "model/Solution.h"

namespace quarmel {

// Where a replay of a finished run (or of a file's solutions) stands. The steps are the indexes
// of the run's solution list, 0 to Last(); at step k the chart shows the path of solutions 0 to
// k and, for a genetic run, the population of generation k (its k-th history entry's). A replay
// only ever reads the run's lists.
//
// A replay begins at the last step, not yet engaged: the window shows the run as it ended until
// the user moves the step or plays.
class ReplayState {
  public:
    // A whole replay lasts about this long when played from the first step to the last...
    static constexpr double kPlaySeconds = 15.0;
    // ...but never goes faster than its runs' steps can be followed or slower than this.
    static constexpr double kMinStepsPerSecond = 4.0;

    // A replay of a list of `steps` solutions (none: nothing to replay), with the run's
    // populations when it kept them.
    void Begin(std::size_t steps, std::shared_ptr<const GenerationStore> generations = nullptr);
    // Nothing to replay any more (a new run, another list).
    void Finish() { Begin(0); }

    bool Available() const { return steps_ > 0; }
    // Whether the user has moved the step or played since Begin.
    bool Engaged() const { return engaged_; }
    std::size_t Step() const { return step_; }
    std::size_t Last() const { return steps_ == 0 ? 0 : steps_ - 1; }
    const GenerationStore* Generations() const { return generations_.get(); }

    // Moves to step k, clamped to the steps; each returns whether the step changed, and engages
    // the replay.
    bool SetStep(std::size_t k);
    bool Previous() { return SetStep(step_ == 0 ? 0 : step_ - 1); }
    bool Next() { return SetStep(step_ + 1); }
    bool First() { return SetStep(0); }
    bool ToLast() { return SetStep(Last()); }

    // Play and pause; playing from the last step starts again from the first.
    void SetPlaying(bool on);
    bool Playing() const { return playing_; }
    double StepsPerSecond() const;
    // Advances a playing replay by the steps that `ms` milliseconds make (the fractions carry
    // over to the next call); it stops at the last step. Returns whether the step changed.
    bool Advance(double ms);

  private:
    std::size_t steps_ = 0;
    std::size_t step_ = 0;
    bool engaged_ = false;
    bool playing_ = false;
    double carried_ = 0.0;  // steps due but not yet taken
    std::shared_ptr<const GenerationStore> generations_;
};

// The Solutions table's row of step k in a list of `count` solutions: the newest comes first.
inline std::size_t NewestFirstRow(std::size_t step, std::size_t count) {
    return count - 1 - step;
}

// Makes `path` the first `count` solutions of `run` (count at most run's length), copying only
// what it lacks; returns how the path changed, as the chart's marker feed takes it.
ListChange FollowPath(const SolutionList& run, std::size_t count, SolutionList& path);

// The replay bar's count of where it stands: the steps numbered from 1 ("Step 1 / 200" at the
// first of 200 solutions, "Step 200 / 200" at the last).
std::string ReplayStepText(const ReplayState& replay);

// The replay bar's tooltip: which generations' populations are shown ("" for a run without
// populations).
std::string ReplayGenerationsText(const GenerationStore* generations);

}  // namespace quarmel
