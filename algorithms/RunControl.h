#pragma once

#include <atomic>
#include <cstdint>
#include <type_traits>

#include "model/Random.h"

namespace quarmel {

// A change to the published lists, borrowed for the length of one Publish call: a pointer to
// the caller's callable and a function that calls it. Unlike std::function it never copies the
// callable, so publishing a step costs one indirect call.
class ListChangeRef {
  public:
    template <typename F,
              typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, ListChangeRef>>>
    ListChangeRef(F&& change)  // NOLINT: implicit, so callers pass a lambda as it is
        : callable_(const_cast<void*>(static_cast<const void*>(&change))),
          call_([](void* c) { (*static_cast<std::remove_reference_t<F>*>(c))(); }) {}

    void operator()() const { call_(callable_); }

  private:
    void* callable_;
    void (*call_)(void*);
};

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
    virtual void Publish(ListChangeRef change) = 0;
    // Sleeps after a published step; ends early when a stop is requested, and holds on while the
    // run is paused.
    virtual void Sleep(int ms) = 0;
    virtual bool StopRequested() const = 0;
    // Publishes one step of a search, sleeps `ms` after it and reads the stop request: true when
    // the run must end. A search calls this once per step it publishes; a control that is final
    // overrides it with the same three calls so they cost one indirect call, not three.
    virtual bool PublishStep(ListChangeRef change, int ms) {
        Publish(change);
        Sleep(ms);
        return StopRequested();
    }
    // Holds the algorithm while the run is paused; returns at once otherwise, or on stop. The
    // searches pass a gate for every candidate: where the control watches a flag, a gate with no
    // pause asked for is one atomic read and no call.
    void PassPauseGate() {
        if (holdAsked_ != nullptr && !holdAsked_->load(std::memory_order_acquire)) return;
        HoldAtGate();
    }
    // The seed the run draws from, read once when the run seeds its generator. By default the
    // calendar time in whole seconds, as the program always seeds.
    virtual std::uint32_t Seed() const { return ClockSeed(); }
    // Simulated annealing tells at the start of each temperature stage which stage it is (from
    // 1), its temperature and whether it is still heating; nothing by default.
    virtual void StageBegins(long long /*stage*/, double /*temperature*/, bool /*heating*/) {}

  protected:
    // The gate's work when it does not pass at once: at every gate, or, once WatchHoldRequests
    // has named a flag, only at gates that find it set.
    virtual void HoldAtGate() {}
    // Names the flag that tells a gate a pause may be asked for. It must outlive the control.
    void WatchHoldRequests(const std::atomic<bool>& asked) { holdAsked_ = &asked; }
    // A flag that is never set, for controls that never pause.
    static const std::atomic<bool>& NeverAsked() {
        static const std::atomic<bool> never{false};
        return never;
    }

  private:
    const std::atomic<bool>* holdAsked_ = nullptr;
};

// A synchronous run control for the batch runner and the benchmarks: a fixed seed, sleeps that
// return at once, no pause, and a stop request that is only ever set by its owner.
class SyncRunControl : public RunControl {
  public:
    explicit SyncRunControl(std::uint32_t seed) : seed_(seed) { WatchHoldRequests(NeverAsked()); }

    // Nothing else reads the lists, so the change needs no lock.
    void Publish(ListChangeRef change) override { change(); }
    void Sleep(int) override {}
    bool StopRequested() const override { return stop.load(); }
    std::uint32_t Seed() const override { return seed_; }

    std::atomic<bool> stop{false};

  private:
    std::uint32_t seed_;
};

}  // namespace quarmel
