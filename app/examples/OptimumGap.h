#pragma once

#include <optional>
#include <string>

#include "app/examples/ExampleCatalogue.h"

namespace quarmel {

// How far a best value is from the known optimum, in the problem's direction: best minus the
// optimum when minimising, the optimum minus best when maximising (so 0 at the optimum and more
// the worse the value), with a best value's precision. None without a best value or a known
// optimum.
std::optional<float> GapToOptimum(const std::optional<float>& best,
                                  const std::optional<ExampleProblem>& known, bool maximize);

// The value a run must reach to count as having found the optimum: the optimum give or take its
// tolerance, on the worse side.
// A hint beside a value found: "gap to the known optimum 0,0123 (optimum 0 at (0; 0))", in the
// window's number texts (the gap as GapToOptimum measures it).
std::string OptimumGapText(float value, const ExampleProblem& known, bool maximize);

double OptimumTarget(const KnownOptimum& optimum, bool maximize);

}  // namespace quarmel
