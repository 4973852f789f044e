#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace quarmel {

// Where a run started from the window stands. A session starts Idle and is Idle again never:
// after its first run it rests in Finished or Stopped until the next one starts.
enum class RunState { Idle, Running, Paused, Stopping, Finished, Stopped };

// One run of the window as plain state: its state, seed, elapsed time without the time spent
// paused, and progress (the solutions it has published; RunStatus makes the status line's bar of
// them); plus the two facts the window keeps about its results: whether the
// next polls take the run's results at all, and whether the results shown are saved. The
// window shows it and feeds it from the worker; the clock is injected so a test can drive it.
class RunSession {
  public:
    // Seconds from any fixed origin, never going back.
    using Clock = std::function<double()>;
    static double SteadySeconds();

    explicit RunSession(Clock clock = SteadySeconds) : clock_(std::move(clock)) {}

    // A new run: Running, its results wanted and not saved, the time and progress from zero.
    void Start(std::uint32_t seed);
    // Pauses a running run, or resumes a paused one; a session without a run does not change.
    void SetPaused(bool paused);
    // The user or the window asked the run to end; it is Stopping until Ended says how it did.
    void RequestStop();
    // The worker is gone: Finished when it had come to its end by itself, else Stopped.
    void Ended(bool finishedByItself);

    RunState State() const { return state_; }
    // Running, Paused or Stopping: a run the window still has.
    bool Active() const;
    bool Paused() const { return state_ == RunState::Paused; }
    // Finished or Stopped: the last run is over (the window asked its worker to end).
    bool Over() const { return state_ == RunState::Finished || state_ == RunState::Stopped; }
    std::uint32_t Seed() const { return seed_; }
    // Seconds the run has been going, paused time left out; frozen once the run is over.
    double ElapsedSeconds() const;

    // The solutions the run has published so far, as the polls take them from the worker.
    void SetPublished(std::size_t published) { published_ = published; }
    std::size_t Published() const { return published_; }

    // Whether polls ignore the run's results: the window sets it when what it shows no longer
    // comes from the run (a file was opened, the chart was read again between runs).
    void SetResultsIgnored(bool ignored) { resultsIgnored_ = ignored; }
    bool ResultsIgnored() const { return resultsIgnored_; }
    // Whether the solutions shown were made by a run and not saved since.
    void SetUnsaved(bool unsaved) { unsaved_ = unsaved; }
    bool Unsaved() const { return unsaved_; }

  private:
    Clock clock_;
    RunState state_ = RunState::Idle;
    std::uint32_t seed_ = 0;
    double started_ = 0;
    double pausedFor_ = 0;    // the pauses before the current one
    double pausedSince_ = 0;  // valid while Paused
    double endedAt_ = 0;      // valid once Over
    std::size_t published_ = 0;
    bool resultsIgnored_ = false;
    bool unsaved_ = false;
};

}  // namespace quarmel
