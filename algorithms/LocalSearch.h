#pragma once

#include <cstdint>
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

    int Count() const { return static_cast<int>(lo_.size()); }
    // Writes the candidate into `candidate`, resized to the number of variables.
    void Make(const std::vector<float>& current, std::uint64_t mask,
              std::vector<double>& candidate);

  private:
    std::vector<float> lo_;
    std::vector<float> hi_;
    std::vector<GridSpec> grids_;
    std::vector<float> steps_;
    std::vector<std::uint32_t> signs_;
};

// One neighbour move on its own (a Neighbourhood made for the single call).
void MakeNeighbour(const AlgParameters& params, const std::vector<float>& current,
                   std::uint64_t mask, std::vector<double>& candidate);

// The function value at a candidate, narrowed to a float as every comparison uses it.
inline float Evaluate(AlgParameters& params, const std::vector<double>& candidate) {
    return static_cast<float>(params.Eval(candidate.data()));
}

// Publishes one step: appends the candidate (narrowed to floats) with its value to the list,
// sleeps LocalSleep and reads the stop request. Returns true when the run must end now.
bool PublishStep(const AlgParameters& params, SolutionList& list,
                 const std::vector<double>& candidate, float value, RunControl& control);

}  // namespace quarmel
