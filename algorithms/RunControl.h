#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "model/Random.h"

namespace quarmel {

// What an algorithm needs from whoever runs it. The worker thread supplies the real one; the
// batch runner and the benchmarks supply SyncRunControl and the tests one that records, so every
// algorithm runs deterministically from a given seed without a thread.
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
    // Simulated annealing tells at the start of each temperature stage which stage it is (from
    // 1), its temperature and whether it is still heating; nothing by default.
    virtual void StageBegins(long long /*stage*/, double /*temperature*/, bool /*heating*/) {}
};

// A synchronous run control for the batch runner and the benchmarks: a fixed seed, sleeps that
// return at once, no pause, and a stop request that is only ever set by its owner.
class SyncRunControl : public RunControl {
  public:
    explicit SyncRunControl(std::uint32_t seed) : seed_(seed) {}

    // Nothing else reads the lists, so the change needs no lock.
    void Publish(const std::function<void()>& change) override { change(); }
    void Sleep(int) override {}
    bool StopRequested() const override { return stop.load(); }
    void PassPauseGate() override {}
    std::uint32_t Seed() const override { return seed_; }

    std::atomic<bool> stop{false};

  private:
    std::uint32_t seed_;
};

}  // namespace quarmel
