#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

namespace quarmel {

// What an algorithm needs from whoever runs it. The worker thread supplies the real one; tests,
// benchmarks and the batch runner supply SyncRunControl, so every algorithm runs
// deterministically from a given seed without a thread.
class RunControl {
  public:
    virtual ~RunControl() = default;

    // Applies one change to the run's published lists under the run's lock. This is the only way
    // an algorithm changes those lists; the change must not evaluate or sleep.
    virtual void Publish(const std::function<void()>& change) = 0;
    // Sleeps after a published step; ends early when a stop is requested.
    virtual void Sleep(int ms) = 0;
    virtual bool StopRequested() const = 0;
    // Holds the algorithm while the run is paused; returns at once otherwise, or on stop.
    virtual void PassPauseGate() = 0;
    // The seed the run draws from.
    virtual std::uint32_t Seed() const = 0;
};

// A synchronous run control: a fixed seed, sleeps that only count, and a stop request that a
// test can set, also from a hook called after every published change.
class SyncRunControl : public RunControl {
  public:
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
    bool StopRequested() const override { return stop.load(); }
    void PassPauseGate() override { ++gatePasses; }
    std::uint32_t Seed() const override { return seed_; }

    std::atomic<bool> stop{false};
    int publishes = 0;
    int sleeps = 0;
    long long sleptMs = 0;
    long long gatePasses = 0;
    // Hooks with the count so far, for tests that stop a run at a given point.
    std::function<void(int)> afterPublish;
    std::function<void(int)> afterSleep;

  private:
    std::uint32_t seed_;
    std::mutex mutex_;
};

}  // namespace quarmel
