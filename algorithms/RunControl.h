#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

#include "model/Random.h"

namespace quarmel {

// What an algorithm needs from whoever runs it. The worker thread supplies the real one; tests,
// benchmarks and the batch runner supply SyncRunControl, so every algorithm runs
// deterministically from a given seed without a thread.
//
// The published-list contract: an algorithm is handed the lists it publishes (the local
// searches' WorkList, the genetic algorithm's progress record) by reference and changes them
// only inside Publish, which runs the change under the run's lock. The algorithm's own thread may
// read those lists without the lock, since nobody else writes them; every other thread copies
// them under the same lock.
class RunControl {
  public:
    virtual ~RunControl() = default;

    // Applies one change to the run's published lists under the run's lock. This is the only way
    // an algorithm changes those lists; the change must not evaluate or sleep.
    virtual void Publish(const std::function<void()>& change) = 0;
    // Sleeps after a published step; ends early when a stop is requested, and holds on while the
    // run is paused.
    virtual void Sleep(int ms) = 0;
    virtual bool StopRequested() const = 0;
    // Holds the algorithm while the run is paused; returns at once otherwise, or on stop.
    virtual void PassPauseGate() = 0;
    // The seed the run draws from, read once when the run seeds its generator. By default the
    // calendar time in whole seconds, as the program always seeds.
    virtual std::uint32_t Seed() const { return ClockSeed(); }
};

// A synchronous run control: a fixed seed (or the clock when none is given), sleeps that only
// count, and a stop request that a test can set, also from a hook called after every published
// change or sleep.
class SyncRunControl : public RunControl {
  public:
    SyncRunControl() = default;
    explicit SyncRunControl(std::uint32_t seed) : seed_(seed) {}

    void Publish(const std::function<void()>& change) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            change();
        }
        ++publishes;
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
    void PassPauseGate() override {
        ++gatePasses;
        if (onGate) onGate(gatePasses);
    }
    std::uint32_t Seed() const override { return seed_ ? *seed_ : ClockSeed(); }

    std::atomic<bool> stop{false};
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
    std::optional<std::uint32_t> seed_;
    std::mutex mutex_;
};

}  // namespace quarmel
