#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "chart/ChartModel.h"
#include "chart/MarkerPoints.h"
#include "chart/Sampling.h"
#include "model/Solution.h"

// The huge file the first-frame benchmarks open: its solutions in memory, the axes chosen for
// them and the start-up problem's surface they are shown over.
namespace quarmel {

// A file of this many two-variable solutions is about 200 MB; figures are given against it.
constexpr std::size_t kHugeSolutions = 12700000;
constexpr std::size_t kFileBytes = 200u << 20;

// n solutions of two variables walking across the start-up problem's surface, in one block.
inline const SolutionList& HugeList(std::size_t n) {
    static SolutionList list;
    if (list.Count() == n) return list;
    list.Clear();
    list.Resize(n, 2);
    float x = -40, y = -30;
    unsigned s = 5;
    auto next = [&s] {
        s = s * 1103515245u + 12345u;
        return static_cast<float>((s >> 8) & 0xFFFF) / 65536.0f - 0.5f;
    };
    for (std::size_t i = 0; i < n; ++i) {
        x = std::clamp(x + next() * 6.0f, -50.0f, 50.0f);
        y = std::clamp(y + next() * 5.0f, -40.0f, 40.0f);
        SolutionRef row = list.At(i);
        row.Values[0] = x;
        row.Values[1] = y;
        row.Value = x * x + (y - 2) * (y - 2) + 15 + next() * 300.0f;
    }
    return list;
}

inline MarkerAxes ChosenAxes() {
    MarkerAxes axes;
    axes.DisplayXMin = -50;
    axes.DisplayXMax = 50;
    axes.DisplayYMin = -40;
    axes.DisplayYMax = 40;
    return axes;
}

// A page with the start-up problem's surface, as it stands when the file's solutions arrive.
inline void SetUpSurface(ChartModel& chart) {
    static const SurfaceSampling s = [] {
        FunctionParser parser;
        AddSpiral(parser);
        parser.Parse("x^2+(y-2)^2", "x,y", false);
        const std::vector<VariableSpec> vars = {{"x", -50, 50, 0}, {"y", -40, 40, 6}};
        return SampleOverXY(parser, vars, 0, 1, -50, 50, -40, 40);
    }();
    chart.SetSurface(s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax, s.HeightMin,
                     s.HeightMax, s.Samples);
}

}  // namespace quarmel
