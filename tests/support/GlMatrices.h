#pragma once

#include <array>

namespace quarmel {

// The matrix of glFrustum as its manual page gives it, column-major as the graphics library
// keeps it: the tests' own expectation of a frame's projection.
inline std::array<double, 16> FrustumMatrix(double l, double r, double b, double t, double n,
                                            double f) {
    return {2 * n / (r - l),
            0,
            0,
            0,
            0,
            2 * n / (t - b),
            0,
            0,
            (r + l) / (r - l),
            (t + b) / (t - b),
            -(f + n) / (f - n),
            -1,
            0,
            0,
            -2 * f * n / (f - n),
            0};
}

}  // namespace quarmel
