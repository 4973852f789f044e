#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// The batch runner's run control: a fixed seed, no sleeps and no pause, a budget of evaluations
// and seconds, and an eye on the list of published steps. When the run has used its budget,
// StopRequested turns true and stays so: the algorithm ends at its next check, as if stopped.
// Every step appended to the list is reported, with the evaluations made up to its publishing.
// A set `cancel` flag ends the run the same way, at the next check.
class BatchRunControl final : public RunControl {
  public:
    using StepObserver = std::function<void(SolutionView step, unsigned long long evaluations)>;

    // `params` is the run's own settings and problem, `steps` the list the algorithm appends its
    // steps to (a local search's path, the genetic algorithm's history); both outlive the control.
    BatchRunControl(std::uint32_t seed, const AlgParameters& params, const SolutionList& steps,
                    unsigned long long maxEvaluations, std::optional<double> maxSeconds,
                    StepObserver onStep, const std::atomic<bool>* cancel = nullptr);

    void Publish(ListChangeRef change) override;
    void Sleep(int) override {}
    bool StopRequested() const override;
    // The class is final, so these calls are direct.
    bool PublishStep(ListChangeRef change, int ms) override {
        Publish(change);
        Sleep(ms);
        return StopRequested();
    }
    std::uint32_t Seed() const override { return seed_; }

    // Evaluations made since the control was made.
    unsigned long long Evaluations() const { return params_.Evaluations() - before_; }
    // Whether StopRequested has found the budget used up.
    bool StoppedByBudget() const { return stopped_ && !cancelled_; }
    // Whether StopRequested has found the cancel flag set.
    bool Cancelled() const { return cancelled_; }

  private:
    std::uint32_t seed_;
    const AlgParameters& params_;
    const SolutionList& steps_;
    unsigned long long before_;
    unsigned long long maxEvaluations_;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    StepObserver onStep_;
    std::size_t seen_ = 0;  // steps of the list already reported
    const std::atomic<bool>* cancel_;
    mutable bool stopped_ = false;
    mutable bool cancelled_ = false;
};

}  // namespace quarmel
