#include "app/runs/RunSession.h"

#include <algorithm>
#include <chrono>

namespace quarmel {

double RunSession::SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void RunSession::Start(std::uint32_t seed) {
    state_ = RunState::Running;
    seed_ = seed;
    started_ = clock_();
    pausedFor_ = 0;
    published_ = 0;
    resultsIgnored_ = false;
    unsaved_ = true;
}

void RunSession::SetPaused(bool paused) {
    if (paused && state_ == RunState::Running) {
        state_ = RunState::Paused;
        pausedSince_ = clock_();
    } else if (!paused && state_ == RunState::Paused) {
        state_ = RunState::Running;
        pausedFor_ += clock_() - pausedSince_;
    }
}

bool RunSession::Active() const {
    return state_ == RunState::Running || state_ == RunState::Paused ||
           state_ == RunState::Stopping;
}

void RunSession::RequestStop() {
    if (!Active()) return;
    SetPaused(false);
    state_ = RunState::Stopping;
}

void RunSession::Ended(bool finishedByItself) {
    if (!Active()) return;
    SetPaused(false);
    endedAt_ = clock_();
    state_ = finishedByItself ? RunState::Finished : RunState::Stopped;
}

double RunSession::ElapsedSeconds() const {
    if (state_ == RunState::Idle) return 0;
    double now = Over() ? endedAt_ : clock_();
    if (state_ == RunState::Paused) now = pausedSince_;
    return std::max(0.0, now - started_ - pausedFor_);
}

}  // namespace quarmel
