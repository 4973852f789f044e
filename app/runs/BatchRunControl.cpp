#include "app/runs/BatchRunControl.h"

#include <utility>

namespace quarmel {

BatchRunControl::BatchRunControl(std::uint32_t seed, const AlgParameters& params,
                                 const SolutionList& steps, unsigned long long maxEvaluations,
                                 std::optional<double> maxSeconds, StepObserver onStep,
                                 const std::atomic<bool>* cancel)
    : seed_(seed),
      params_(params),
      steps_(steps),
      before_(params.Evaluations()),
      maxEvaluations_(maxEvaluations),
      onStep_(std::move(onStep)),
      cancel_(cancel) {
    WatchHoldRequests(NeverAsked());
    if (maxSeconds) {
        deadline_ = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(*maxSeconds));
    }
}

void BatchRunControl::Publish(ListChangeRef change) {
    change();
    // A cleared list starts over; every entry past the ones seen is a new step.
    const std::size_t count = steps_.Count();
    if (count < seen_) seen_ = count;
    for (; seen_ < count; ++seen_) {
        if (onStep_) onStep_(steps_.At(seen_), Evaluations());
    }
}

bool BatchRunControl::StopRequested() const {
    if (stopped_) return true;
    if (cancel_ && cancel_->load(std::memory_order_relaxed)) cancelled_ = stopped_ = true;
    if (Evaluations() >= maxEvaluations_ ||
        (deadline_ && std::chrono::steady_clock::now() >= *deadline_)) {
        stopped_ = true;
    }
    return stopped_;
}

}  // namespace quarmel
