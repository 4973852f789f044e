#pragma once

#include <array>
#include <string>
#include <vector>

#include "chart/ChartTypes.h"
#include "chart/ChartWave.h"

namespace quarmel {

// A value label at one end of an axis: its text, anchor and colour.
struct ChartLabel {
    std::string Text;
    ScenePoint At;
    unsigned char Red = 0;
    unsigned char Green = 0;
    unsigned char Blue = 0;
};

// The chart's data, free of any graphics call: the ranges last given, the vertex grid with a
// colour per vertex, the cell indices, the marker lists and the wave simulation. SurfaceChart
// draws it. The object is large (about 600 kB): allocate it on the heap.
class ChartModel {
  public:
    // Turns samples into scene positions and colours and keeps the two marker lists. Samples are
    // read as 100 x 100 in grid mode and as 100 in line mode; a list too short for grid mode (a
    // one-variable problem shown over the range 0 .. 0) is shown as line mode, and missing
    // samples count as 0. A height range of 0 .. 0 becomes 0 .. first sample + 10; a range
    // still empty then becomes zMin .. zMin + 10.
    void SetData(float xMin, float xMax, float yMin, float yMax, float zMin, float zMax,
                 std::vector<float> samples, std::vector<float> solutionPoints,
                 std::vector<float> populationPoints);

    bool XAxisPresent() const { return AxisPresent(XMin, XMax); }
    bool YAxisPresent() const { return AxisPresent(YMin, YMax); }
    // Whether the last SetData laid out a curve (vertices 0 to 99) rather than a surface.
    bool LineMode() const { return lineMode_; }

    // Scene positions of marker tuples, with the scaling of the grid. A value below the range's
    // start is mirrored about it; a present axis of zero width puts its markers at its start.
    ScenePoint MapTriple(float x, float y, float f) const;
    ScenePoint MapPair(float x, float f) const;
    ScenePoint MapSingle(float f) const;
    // Spiral mode: a triple (r, theta, z) on the helix, z not scaled.
    static ScenePoint MapSpiral(float r, float theta, float z);

    // Scene positions of a marker list read for the current axes (triples, pairs or one single
    // value; incomplete tuples at the end are ignored), or as helix triples in spiral mode, where
    // lists without a Y axis give no points.
    std::vector<ScenePoint> ScenePoints(const std::vector<float>& points, bool spiralMode) const;

    // The labels at the axes' ends (minimum and maximum of X, Y and the height), in the axes'
    // colours; a value of 0 gets no label.
    std::vector<ChartLabel> AxisLabels() const;

    // Flat grid at height 0 in blue, and the four indices of every cell.
    void RebuildGrid();

    // Grid bookkeeping at the start of a frame: rebuilds the grid after a change between wave and
    // surface mode (and at the first frame); in wave mode then starts the wave (first frame) or
    // advances it one step, and copies it into the vertices. Clears GridRebuildPending.
    void BeginFrame(bool waveMode);
    // End of a frame: remembers the mode it was drawn in.
    void EndFrame(bool waveMode) { LastWaveMode = waveMode; }

    bool LastWaveMode = false;
    bool GridRebuildPending = true;
    ChartWave Wave;

    // Ranges last given to SetData (data units). Until then those of a problem without
    // variables whose constant is 0.
    float XMax = 0.0f;
    float XMin = 0.0f;
    float YMax = 0.0f;
    float YMin = 0.0f;
    float ZMax = 10.0f;
    float ZMin = 0.0f;
    // Scene coordinates of the axes' ends.
    float AxisXEnd = 1.0f;
    float AxisXStart = -1.0f;
    float AxisYEnd = 1.0f;
    float AxisYStart = -1.0f;
    float AxisZTop = 1.0f;
    float AxisZBottom = -1.0f;

    // Vertex i*100 + j is column j (X index), row i (Y index).
    std::array<ChartVertex, kGridVertices> Vertices{};
    std::array<unsigned int, kQuadIndexCount> QuadIndices{};
    std::vector<float> SolutionPoints;
    std::vector<float> PopulationPoints;

  private:
    float MapAxis(float value, float min, float max) const;

    bool lineMode_ = false;
};

}  // namespace quarmel
