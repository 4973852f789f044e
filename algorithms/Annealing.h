#pragma once

#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// Simulated annealing. Heating: from the start point it wanders, accepting worse moves with a
// probability that falls with the temperature, and raises the temperature by TempPlus per stage
// until a stage accepts more than PercentAc percent of its moves (or all of them); nothing of
// this phase is published. Cooling: back at the start point it takes and publishes only strictly
// improving moves, multiplying the temperature by Alfa per stage, until the temperature drops
// below 1, the moves have stayed flat (per Stop) for a whole stage length, or Stop is requested.
// A stage is 2^n * Lk moves over the direction masks in order.
void RunAnnealing(AlgParameters& params, SolutionList& workList, RunControl& control);

// Whether a heating move from value c to a value v that does not improve on it is accepted at
// temperature t. Draws the threshold q = (Rand % 100) * 0.01 in every case; accepts when
// exp(d / t * 10000) > q, d = c - v (v - c when maximising) in single precision. At a
// temperature of 0 (or below) an equal value is accepted and a worse one rejected.
bool AcceptsWorse(float c, float v, bool maximize, double t);

}  // namespace quarmel
