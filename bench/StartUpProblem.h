#pragma once

#include "model/Algparameters.h"

namespace quarmel {

// The problem of the Function page at start-up, with the start settings and no delays: the
// benchmarks' common case.
inline AlgParameters StartUpProblem() {
    AlgParameters p;
    p.AddVariable("x", -50, 50, 0);
    p.AddVariable("y", -40, 40, 6);
    p.AddVariable("c", 1, 15, 5);
    p.SetFunctionText("x^2 + ( y - 2 ) ^ 2 + 3 * c ");
    p.LocalSleep = 0;
    p.GeneticSleep = 0;
    return p;
}

}  // namespace quarmel
