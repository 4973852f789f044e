#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Random.h"
#include "model/Solution.h"

namespace quarmel {

// The machinery the three local searches share: the random start point, the neighbour move and
// the publishing of a step. Every search runs on its own copy of the parameters and changes its
// WorkList only through RunControl::Publish.

// Number of direction masks in one pass over n variables: 2^n. Past 63 variables the masks no
// longer fit 64 bits; the count then stays at its largest value and the bits of the variables
// beyond the 64th are always clear (downwards).
std::uint64_t MaskCount(int n);

// Whether bit i of a direction mask is set (the variable moves upwards).
inline bool MaskBit(std::uint64_t mask, int i) {
    return i < 64 && ((mask >> i) & 1u) != 0;
}

// Stop is read at the start of every pass over the masks, and every 65536 masks within a long
// pass, so a run ends promptly also where it publishes nothing.
inline bool StopDue(RunControl& control, std::uint64_t mask) {
    return (mask & 0xFFFFu) == 0 && control.StopRequested();
}

// Seeds the thread's generator from control.Seed(), empties the list, compiles the formula and
// publishes the random start point: each coordinate lies on the 0.01 grid from Min (at most
// 327.67 above it). Returns false, with the list left empty, when the formula does not compile.
bool RandomStart(AlgParameters& params, SolutionList& list, RunControl& control);

// The candidate for one direction mask from the current point: every variable moves by its own
// step drawn on the grid of (Max - Min) * A, up where its mask bit is set and down otherwise; a
// move that would leave the range leaves the variable where it is. One step is drawn per
// variable in order (none for a variable whose range is empty: its step is 0). The ranges and
// grids are worked out once per run, since a run's parameters do not change.
class Neighbourhood {
  public:
    explicit Neighbourhood(const AlgParameters& params);

    int Count() const { return static_cast<int>(axes_.size()); }
    // Writes the candidate into `candidate`, resized to the number of variables.
    void Make(const std::vector<float>& current, std::uint64_t mask,
              std::vector<double>& candidate) {
        const std::size_t n = axes_.size();
        candidate.resize(n);
        if (tabled_) {
            MakeTabled(current.data(), mask, candidate.data());
        } else {
            MakeAny(current.data(), mask, candidate.data());
        }
    }

  private:
    // One variable's range and step grid, together, as each move reads them together.
    struct Axis {
        float lo = 0.0f;
        float hi = 0.0f;
        GridTable grid;
    };

    // Every variable has a step to draw (a range that is not empty) and every mask bit fits in
    // 64 bits: the common case, with no branch in the loop.
    void MakeTabled(const float* cur, std::uint64_t mask, double* out) const;
    void MakeAny(const float* cur, std::uint64_t mask, double* out) const;

    std::vector<Axis> axes_;
    bool tabled_ = false;
};

// The move of one variable by a drawn step, down where `down` is 0x80000000 and up where it is 0:
// a downward step carries its sign, and cur + (-o) is exactly cur - o. A move that leaves the
// range keeps the current value. Since the current point lies within its range (or the step is
// 0), an upward move can only pass hi and a downward one only lo, so both bounds are checked for
// either direction. The choice is made on the bits, so no branch mispredicts: range checks change
// from candidate to candidate.
inline double MoveWithin(float cur, float step, std::uint32_t down, float lo, float hi) {
    std::uint32_t bits;
    std::memcpy(&bits, &step, sizeof bits);
    bits ^= down;
    float o;
    std::memcpy(&o, &bits, sizeof o);
    const float h = cur + o;
    const std::uint32_t keep = 0u - static_cast<std::uint32_t>((h > hi) | (h < lo));
    std::uint32_t hb, cb;
    std::memcpy(&hb, &h, sizeof hb);
    std::memcpy(&cb, &cur, sizeof cb);
    const std::uint32_t chosen = (hb & ~keep) | (cb & keep);
    float moved;
    std::memcpy(&moved, &chosen, sizeof moved);
    return moved;
}

inline void Neighbourhood::MakeTabled(const float* cur, std::uint64_t mask, double* out) const {
    const Axis* axes = axes_.data();
    const std::size_t n = axes_.size();
    std::uint32_t s = TakeRandState();
    for (std::size_t i = 0; i < n; ++i) {
        const Axis& a = axes[i];
        s = s * 22695477u + 1u;
        const std::uint32_t x = (s >> 16) & 0x7FFF;
        const auto rem = static_cast<std::uint32_t>(
            (std::uint64_t{a.grid.inverse * x} * a.grid.m) >> 32);  // as GridDrawFrom
        const auto down = static_cast<std::uint32_t>(~(mask >> i) & 1u) << 31;
        out[i] = MoveWithin(cur[i], a.grid.scaled[rem], down, a.lo, a.hi);
    }
    PutRandState(s);
}

inline void Neighbourhood::MakeAny(const float* cur, std::uint64_t mask, double* out) const {
    const std::size_t n = axes_.size();
    std::uint32_t s = TakeRandState();
    for (std::size_t i = 0; i < n; ++i) {
        const Axis& a = axes_[i];
        const float step = GridDrawFrom(a.grid, s);
        const std::uint32_t down = MaskBit(mask, static_cast<int>(i)) ? 0u : 0x80000000u;
        out[i] = MoveWithin(cur[i], step, down, a.lo, a.hi);
    }
    PutRandState(s);
}

// The function value at a candidate, narrowed to a float as every comparison uses it.
inline float Evaluate(AlgParameters& params, const std::vector<double>& candidate) {
    return static_cast<float>(params.Eval(candidate.data()));
}

// Publishes one step: appends the candidate (narrowed to floats) with its value to the list,
// sleeps LocalSleep and reads the stop request. Returns true when the run must end now.
inline bool PublishStep(const AlgParameters& params, SolutionList& list,
                        const std::vector<double>& candidate, float value, RunControl& control) {
    return control.PublishStep([&] { list.Append(candidate.begin(), candidate.end(), value); },
                               params.LocalSleep);
}

// Makes a candidate the current point, narrowed to floats. The two have the same size (the
// number of variables), so a plain loop does it: the library's converting assign is a call
// that checks the capacity first, once per step.
inline void MoveCurrent(const std::vector<double>& candidate, std::vector<float>& current) {
    const std::size_t n = current.size();
    for (std::size_t i = 0; i < n; ++i) current[i] = static_cast<float>(candidate[i]);
}

// The greedy and the steepest search: from the published random start point, passes over the
// direction masks, each drawing every mask's candidate from the current point, and moves to the
// point the search chooses. What differs between the two is only what a pass does with its
// candidates.
class HillClimb {
  public:
    HillClimb(AlgParameters& params, SolutionList& workList, RunControl& control);

    // Publishes the random start point and makes it current. False when there is nothing to
    // climb: the formula does not compile, or there are no variables.
    bool Start();

    // Hands each mask's candidate, with its value, to visit(candidate, value) in mask order
    // until visit returns true or the masks run out. visit may swap the candidate's storage
    // away; the next candidate is written into whatever it leaves. False when the run must stop.
    template <typename Visit>
    bool Pass(Visit visit) {
        for (std::uint64_t mask = 0; mask < masks_; ++mask) {
            if (StopDue(control_, mask)) return false;
            control_.PassPauseGate();
            neighbourhood_.Make(current_, mask, candidate_);
            if (visit(candidate_, Evaluate(params_, candidate_))) return true;
        }
        return true;
    }

    // Publishes the point as the next step and makes it current. False when the run must stop.
    bool MoveTo(const std::vector<double>& point, float value);

    float Value() const { return value_; }
    bool Maximize() const { return maximize_; }

  private:
    AlgParameters& params_;
    SolutionList& workList_;
    RunControl& control_;
    bool maximize_;
    std::uint64_t masks_;
    Neighbourhood neighbourhood_;
    std::vector<float> current_;
    float value_ = 0.0f;
    std::vector<double> candidate_;
};

}  // namespace quarmel
