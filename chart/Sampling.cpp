#include "chart/Sampling.h"

#include <cmath>
#include <stdexcept>

#include "chart/ChartTypes.h"

namespace quarmel {

namespace {

std::vector<double> Defaults(const std::vector<VariableSpec>& variables) {
    std::vector<double> values;
    values.reserve(variables.size() + 1);
    for (const VariableSpec& v : variables) values.push_back(v.Default);
    // The parser reads no entry of a formula without variables, but is handed a valid array.
    if (values.empty()) values.push_back(0.0);
    return values;
}

void CheckIndex(const std::vector<VariableSpec>& variables, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= variables.size()) {
        throw std::out_of_range("chart axis variable " + std::to_string(index) +
                                " is not a variable of the problem");
    }
}

// Distance between neighbouring samples: a hundredth of the range's width, whichever way round.
float Step(float min, float max) {
    return std::fabs(max - min) * 0.01f;
}

void Record(SurfaceSampling& s, double value) {
    float f = static_cast<float>(value);
    s.Samples.push_back(f);
    if (f < s.HeightMin) s.HeightMin = f;
    if (f > s.HeightMax) s.HeightMax = f;
}

}  // namespace

SurfaceSampling SampleOverXY(FunctionParser& parser, const std::vector<VariableSpec>& variables,
                             int xVariable, int yVariable, float xMin, float xMax, float yMin,
                             float yMax) {
    CheckIndex(variables, xVariable);
    CheckIndex(variables, yVariable);
    SurfaceSampling s;
    s.DisplayXMin = xMin;
    s.DisplayXMax = xMax;
    s.DisplayYMin = yMin;
    s.DisplayYMax = yMax;
    s.Samples.reserve(kGridVertices);
    std::vector<double> values = Defaults(variables);
    const float stepX = Step(xMin, xMax);
    const float stepY = Step(yMin, yMax);
    for (int j = 0; j < kGridSide; ++j) {
        for (int k = 0; k < kGridSide; ++k) {
            values[xVariable] = static_cast<float>(k) * stepX + xMin;
            values[yVariable] = static_cast<float>(j) * stepY + yMin;
            Record(s, parser.Eval(values.data()));
        }
    }
    return s;
}

SurfaceSampling SampleOverX(FunctionParser& parser, const std::vector<VariableSpec>& variables,
                            int xVariable, float xMin, float xMax) {
    CheckIndex(variables, xVariable);
    SurfaceSampling s;
    s.DisplayXMin = xMin;
    s.DisplayXMax = xMax;
    s.Samples.reserve(kLineSamples);
    std::vector<double> values = Defaults(variables);
    const float stepX = Step(xMin, xMax);
    for (int k = 0; k < kLineSamples; ++k) {
        values[xVariable] = static_cast<float>(k) * stepX + xMin;
        Record(s, parser.Eval(values.data()));
    }
    return s;
}

SurfaceSampling SampleWithoutVariables(FunctionParser& parser) {
    SurfaceSampling s;
    double unused = 0.0;
    s.Samples.reserve(kGridVertices);
    for (int i = 0; i < kGridVertices; ++i)
        s.Samples.push_back(static_cast<float>(parser.Eval(&unused)));
    return s;
}

}  // namespace quarmel
