// The grid's bookkeeping between frames and the wave-motion simulation drawn on it.
#include <cmath>

#include "chart/ChartModel.h"

namespace quarmel {

namespace {

constexpr double kPi = 3.14159265358979323846;

// i modulo 100 in 0..99, also for negative i.
int Wrap(int i) {
    return i - kGridSide * static_cast<int>(std::floor(static_cast<double>(i) / kGridSide));
}

}  // namespace

void ChartModel::RebuildGrid() {
    for (int i = 0; i < kGridSide; ++i) {
        for (int j = 0; j < kGridSide; ++j) {
            ChartVertex& v = Vertices[i * kGridSide + j];
            v.X = static_cast<float>(j - 50) * 0.02f;
            v.Y = static_cast<float>(i - 50) * 0.02f;
            v.Z = 0.0f;
            v.Red = 0.0f;
            v.Green = 0.0f;
            v.Blue = 1.0f;
        }
    }
    for (int i = 0; i < kGridSide - 1; ++i) {
        for (int j = 0; j < kGridSide - 1; ++j) {
            const unsigned c = static_cast<unsigned>(i * (kGridSide - 1) + j);
            const unsigned row = static_cast<unsigned>(i * kGridSide + j);
            QuadIndices[4 * c] = row;
            QuadIndices[4 * c + 1] = row + 1;
            QuadIndices[4 * c + 2] = row + kGridSide + 1;
            QuadIndices[4 * c + 3] = row + kGridSide;
        }
    }
}

void ChartModel::BeginFrame(bool waveMode) {
    if (waveMode != LastWaveMode) GridRebuildPending = true;
    if (GridRebuildPending) RebuildGrid();
    if (waveMode) {
        // The frame that rebuilt the grid starts the wave from its dent, without a step.
        if (GridRebuildPending) {
            StartWave();
        } else {
            StepWave();
        }
        ShowWave();
    }
    GridRebuildPending = false;
}

void ChartModel::StartWave() {
    for (int a = 0; a < kGridSide; ++a) {
        for (int b = 0; b < kGridSide; ++b) {
            const double r =
                std::sqrt(static_cast<double>((a - 50) * (a - 50) + (b - 50) * (b - 50)));
            WaveHeight[a][b] =
                r < 5.0 ? static_cast<float>(-100.0 * std::cos(0.1 * kPi * r)) : 0.0f;
            WaveFlowX[a][b] = 0.0f;
            WaveFlowY[a][b] = 0.0f;
        }
    }
}

void ChartModel::StepWave() {
    const float dt = WaveTimeStep;
    for (int a = 0; a < kGridSide; ++a) {
        for (int b = 0; b < kGridSide; ++b) {
            WaveSlopeX[a][b] = WaveHeight[a][b] - WaveHeight[Wrap(a + 1)][b];
        }
    }
    for (int a = 0; a < kGridSide; ++a) {
        for (int b = 0; b < kGridSide; ++b) {
            WaveSlopeY[a][b] = WaveHeight[a][b] - WaveHeight[a][Wrap(b + 1)];
        }
    }
    for (int a = 0; a < kGridSide; ++a) {
        for (int b = 0; b < kGridSide; ++b) {
            WaveFlowX[a][b] += WaveSlopeX[a][b] * dt;
            WaveFlowY[a][b] += WaveSlopeY[a][b] * dt;
        }
    }
    // Row 0 and column 0 have no inflow from below and stay at rest.
    for (int a = 1; a < kGridSide; ++a) {
        for (int b = 1; b < kGridSide; ++b) {
            WaveHeight[a][b] +=
                (WaveFlowX[a - 1][b] - WaveFlowX[a][b] + WaveFlowY[a][b - 1] - WaveFlowY[a][b]) *
                dt;
        }
    }
}

void ChartModel::ShowWave() {
    for (int a = 0; a < kGridSide; ++a) {
        for (int b = 0; b < kGridSide; ++b) {
            ChartVertex& v = Vertices[b * kGridSide + a];
            const float h = WaveHeight[a][b];
            v.Z = 0.02f * h;
            // A full band of blue every 15 height units draws the wave as moving stripes.
            const float q = h / 15.0f;
            v.Blue = q - std::floor(q);
        }
    }
}

}  // namespace quarmel
