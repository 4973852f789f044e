#pragma once

#include <cmath>
#include <initializer_list>
#include <string>

#include "model/Algparameters.h"
#include "model/Solution.h"
#include "support/RecordingRunControl.h"

namespace quarmel::testing {

struct Var {
    const char* name;
    float min;
    float max;
};

// Parameters with the start values, the given formula and variables, and no delay unless a test
// asks for one.
inline AlgParameters Params(const std::string& formula, std::initializer_list<Var> vars,
                            bool maximize = false) {
    AlgParameters p;
    for (const Var& v : vars) p.AddVariable(v.name, v.min, v.max, v.min);
    p.SetFunctionText(formula);
    p.SetMaximize(maximize);
    p.LocalSleep = 0;
    return p;
}

// The function of the Function page at start-up, in the parser's syntax.
inline AlgParameters DefaultProblem() {
    return Params("x^2 + ( y - 2 ) ^ 2 + 3 * c ", {{"x", -50, 50}, {"y", -40, 40}, {"c", 1, 15}});
}

// The grid draw's scaling: k multiplications by 0.1, each product rounded to a float.
inline float Scaled(int draws, int k) {
    float r = static_cast<float>(draws);
    for (int i = 0; i < k; ++i) r = static_cast<float>(static_cast<double>(r) * 0.1);
    return r;
}

inline bool OnGrid(double x, double step) {
    const double k = x / step;
    return std::fabs(k - std::round(k)) < 1e-3;
}

}  // namespace quarmel::testing
