#pragma once

#include <array>
#include <cmath>

#include "chart/ChartFrame.h"
#include "chart/ChartModel.h"
#include "chart/MarkerLayout.h"

namespace quarmel {

using ViewMatrix = std::array<double, 16>;  // column-major, as the graphics library keeps it

inline ViewMatrix Times(const ViewMatrix& a, const ViewMatrix& b) {
    ViewMatrix c{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) c[column * 4 + row] += a[k * 4 + row] * b[column * 4 + k];
    return c;
}

// The view a default frame of the chart sets up (its frustum, shift, tilt and turn), worked out
// without the graphics library.
inline MarkerView DefaultView(const ChartModel& chart, int width, int height) {
    const ChartFrame f;
    constexpr double kDegree = 3.14159265358979323846 / 180.0;
    const double n = 1.0, far = 15000.0;
    MarkerView view;
    view.Projection = {2 * n / 1.28,
                       0,
                       0,
                       0,
                       0,
                       2 * n / 0.96,
                       0,
                       0,
                       0,
                       0,
                       -(far + n) / (far - n),
                       -1,
                       0,
                       0,
                       -2 * far * n / (far - n),
                       0};
    const ViewMatrix shift = {1,
                              0,
                              0,
                              0,
                              0,
                              1,
                              0,
                              0,
                              0,
                              0,
                              1,
                              0,
                              f.ShiftX * 0.001,
                              f.ShiftY * 0.001 - chart.AxisZBottom,
                              -f.Distance * 0.001,
                              1};
    const double ct = std::cos(f.TiltAngle * kDegree), st = std::sin(f.TiltAngle * kDegree);
    const double cr = std::cos(f.TurnAngle * kDegree), sr = std::sin(f.TurnAngle * kDegree);
    const ViewMatrix tilt = {1, 0, 0, 0, 0, ct, st, 0, 0, -st, ct, 0, 0, 0, 0, 1};
    const ViewMatrix turn = {cr, sr, 0, 0, -sr, cr, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    view.Modelview = Times(Times(shift, tilt), turn);
    view.Viewport = {0, 0, width, height};
    return view;
}

}  // namespace quarmel
