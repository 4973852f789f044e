#pragma once

#include <optional>

#include "app/ExampleCatalogue.h"

namespace quarmel {

// How far a best value is from the known optimum, in the problem's direction: best minus the
// optimum when minimising, the optimum minus best when maximising (so 0 at the optimum and more
// the worse the value), with a best value's precision. None without a best value or a known
// optimum.
std::optional<float> GapToOptimum(const std::optional<float>& best,
                                  const std::optional<ExampleProblem>& known, bool maximize);

// The value a run must reach to count as having found the optimum: the optimum give or take its
// tolerance, on the worse side.
double OptimumTarget(const KnownOptimum& optimum, bool maximize);

}  // namespace quarmel
