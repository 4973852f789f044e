#pragma once

#include <string>
#include <vector>

#include "model/Algparameters.h"
#include "model/Random.h"
#include "model/Solution.h"
#include "support/SolutionSupport.h"

namespace quarmel::testing {

// Variables x0..x{d-1}, each in [lo, hi], and a formula that weighs them by powers of ten, so a
// function value tells the values apart. Compiled and ready to evaluate.
inline void WeightedProblem(AlgParameters& p, int d, float lo = -1000, float hi = 1000) {
    std::string formula;
    std::string weight = "1";
    for (int j = 0; j < d; ++j) {
        const std::string name = "x" + std::to_string(j);
        p.AddVariable(name, lo, hi, lo);
        if (j > 0) formula += "+";
        formula += weight + "*" + name;
        weight += "0";
    }
    p.SetFunctionText(d == 0 ? "1" : formula);
    p.Compile();
}

// The weighted formula's value at the given values, widened and summed in double as the parser
// does, then narrowed.
inline float WeightedValue(const std::vector<float>& values) {
    double sum = 0;
    double weight = 1;
    for (float v : values) {
        sum += weight * static_cast<double>(v);
        weight *= 10;
    }
    return static_cast<float>(sum);
}

// n Solutions of d values; value j of Solution i is 100 i + j, and the function value is given.
inline SolutionList Numbered(int n, int d, const std::vector<float>& funcValues = {}) {
    SolutionList list;
    for (int i = 0; i < n; ++i) {
        Solution s;
        for (int j = 0; j < d; ++j) s.Values.push_back(static_cast<float>(100 * i + j));
        s.Value = funcValues.empty() ? static_cast<float>(i) : funcValues[i];
        list.Append(s);
    }
    return list;
}

// Whether exactly `count` Rand draws were made since the generator was seeded with seed: the
// next draw must be the one that follows them. Reseeds the generator.
inline bool DrewExactly(unsigned seed, int count) {
    const int next = Rand();
    SeedRandom(seed);
    for (int i = 0; i < count; ++i) Rand();
    return Rand() == next;
}

}  // namespace quarmel::testing
