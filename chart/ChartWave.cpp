#include "chart/ChartWave.h"

#include <cmath>

namespace quarmel {

namespace {

constexpr double kPi = 3.14159265358979323846;

// i modulo 100 in 0..99, also for negative i.
int Wrap(int i) {
    return i - kGridSide * static_cast<int>(std::floor(static_cast<double>(i) / kGridSide));
}

}  // namespace

void ChartWave::Start() {
    for (int a = 0; a < kGridSide; ++a) {
        for (int b = 0; b < kGridSide; ++b) {
            const double r =
                std::sqrt(static_cast<double>((a - 50) * (a - 50) + (b - 50) * (b - 50)));
            Height[a][b] = r < 5.0 ? static_cast<float>(-100.0 * std::cos(0.1 * kPi * r)) : 0.0f;
            FlowX[a][b] = 0.0f;
            FlowY[a][b] = 0.0f;
        }
    }
}

void ChartWave::Step() {
    const float dt = TimeStep;
    for (int a = 0; a < kGridSide; ++a) {
        for (int b = 0; b < kGridSide; ++b) {
            SlopeX[a][b] = Height[a][b] - Height[Wrap(a + 1)][b];
        }
    }
    for (int a = 0; a < kGridSide; ++a) {
        for (int b = 0; b < kGridSide; ++b) {
            SlopeY[a][b] = Height[a][b] - Height[a][Wrap(b + 1)];
        }
    }
    for (int a = 0; a < kGridSide; ++a) {
        for (int b = 0; b < kGridSide; ++b) {
            FlowX[a][b] += SlopeX[a][b] * dt;
            FlowY[a][b] += SlopeY[a][b] * dt;
        }
    }
    // Row 0 and column 0 have no inflow from below and stay at rest.
    for (int a = 1; a < kGridSide; ++a) {
        for (int b = 1; b < kGridSide; ++b) {
            Height[a][b] += (FlowX[a - 1][b] - FlowX[a][b] + FlowY[a][b - 1] - FlowY[a][b]) * dt;
        }
    }
}

void ChartWave::Show(std::array<ChartVertex, kGridVertices>& vertices) const {
    for (int a = 0; a < kGridSide; ++a) {
        for (int b = 0; b < kGridSide; ++b) {
            ChartVertex& v = vertices[b * kGridSide + a];
            const float h = Height[a][b];
            v.Z = 0.02f * h;
            // A full band of blue every 15 height units draws the wave as moving stripes.
            const float q = h / 15.0f;
            v.Blue = q - std::floor(q);
        }
    }
}

}  // namespace quarmel
