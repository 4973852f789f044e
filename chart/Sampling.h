#pragma once

#include <fparser.hh>

#include <vector>

#include "model/Problem.h"

namespace quarmel {

// The function sampled over the display ranges, with the ranges used and the running minimum
// and maximum of the samples. The running extremes start at 0, so the height range always holds
// 0 and is empty only for a function that is 0 everywhere (the chart replaces that range).
struct SurfaceSampling {
    std::vector<float> Samples;
    float DisplayXMin = 0.0f;
    float DisplayXMax = 0.0f;
    float DisplayYMin = 0.0f;
    float DisplayYMax = 0.0f;
    float HeightMin = 0.0f;
    float HeightMax = 0.0f;
};

// 100 x 100 samples: sample j*100 + k is at X index k, Y index j. Sample k of an axis lies at
// min + k*|max - min|/100, so the maximum itself is never sampled. The other variables stay at
// their defaults; when both axes name one variable, the Y value is the one evaluated. The values
// are raw f, whatever the direction of optimisation. Throws std::out_of_range for a variable
// index outside `variables`.
SurfaceSampling SampleOverXY(FunctionParser& parser, const std::vector<VariableSpec>& variables,
                             int xVariable, int yVariable, float xMin, float xMax, float yMin,
                             float yMax);

// 100 samples along X; the Y range is 0 .. 0 (no Y axis).
SurfaceSampling SampleOverX(FunctionParser& parser, const std::vector<VariableSpec>& variables,
                            int xVariable, float xMin, float xMax);

// A problem without variables: 10000 evaluations of the constant formula, all ranges 0.
SurfaceSampling SampleWithoutVariables(FunctionParser& parser);

}  // namespace quarmel
