#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "algorithms/RunControl.h"
#include "model/Solution.h"

namespace quarmel::testing {

// A synchronous run control for tests: a fixed seed (or the clock when none is given), sleeps
// that only count, a stop request that a test can set, also from a hook called after every
// published change, sleep, gate pass or stop check, and counts of all of these.
//
// A run that goes wrong must fail its test quickly instead of running on: the control requests
// a stop, and fails the test, once the run has passed the pause gate (made a move) MaxMoves
// times, or once the list it watches, the list the run publishes into, holds more than
// MaxLength Solutions.
class RecordingRunControl : public RunControl {
  public:
    static constexpr long long kMaxMoves = 5'000'000;
    static constexpr std::size_t kMaxLength = 10'000;

    RecordingRunControl() = default;
    explicit RecordingRunControl(std::uint32_t seed) : seed_(seed) {}
    RecordingRunControl(std::uint32_t seed, const SolutionList& watched)
        : seed_(seed), watched_(&watched) {}

    void Publish(ListChangeRef change) override {
        change();
        ++publishes;
        if (watched_ != nullptr && watched_->Count() > MaxLength) {
            Cap("the published list holds more than " + std::to_string(MaxLength) + " Solutions");
        }
        if (afterPublish) afterPublish(publishes);
    }
    void Sleep(int ms) override {
        ++sleeps;
        sleptMs += ms;
        if (afterSleep) afterSleep(sleeps);
    }
    bool StopRequested() const override {
        ++stopChecks;
        if (onStopCheck) onStopCheck(stopChecks);
        return stop.load();
    }
    void HoldAtGate() override {
        ++gatePasses;
        if (gatePasses >= MaxMoves) Cap(std::to_string(MaxMoves) + " moves were made");
        if (onGate) onGate(gatePasses);
    }
    std::uint32_t Seed() const override { return seed_ ? *seed_ : ClockSeed(); }

    // Whether a limit stopped the run.
    bool Capped() const { return capped_; }

    std::atomic<bool> stop{false};
    long long MaxMoves = kMaxMoves;
    std::size_t MaxLength = kMaxLength;

    int publishes = 0;
    int sleeps = 0;
    long long sleptMs = 0;
    long long gatePasses = 0;
    mutable long long stopChecks = 0;
    // Hooks with the count so far, for tests that stop a run at a given point.
    std::function<void(int)> afterPublish;
    std::function<void(int)> afterSleep;
    std::function<void(long long)> onGate;
    std::function<void(long long)> onStopCheck;

  private:
    void Cap(const std::string& why) {
        stop = true;
        if (capped_) return;
        capped_ = true;
        ADD_FAILURE() << "run stopped: " << why;
    }

    std::optional<std::uint32_t> seed_;
    const SolutionList* watched_ = nullptr;
    bool capped_ = false;
};

}  // namespace quarmel::testing
