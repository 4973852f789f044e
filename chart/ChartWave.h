#pragma once

#include <array>

#include "chart/ChartTypes.h"

namespace quarmel {

// The wave demonstration's simulation on the chart grid: a round dent in a resting surface,
// advanced one time step per frame. Each field is indexed [X index][Y index].
class ChartWave {
  public:
    using Field = std::array<std::array<float, kGridSide>, kGridSide>;

    // The dent of depth 100 and radius 5 around the grid's centre, nothing flowing.
    void Start();
    // One time step: slopes from the heights, flows from the slopes, heights from the flows.
    void Step();
    // Copies the heights into the grid's vertices: their height, and a band of blue that
    // repeats every 15 height units.
    void Show(std::array<ChartVertex, kGridVertices>& vertices) const;

    float TimeStep = 0.1f;
    Field Height{};
    Field FlowX{};
    Field FlowY{};
    Field SlopeX{};
    Field SlopeY{};
};

}  // namespace quarmel
