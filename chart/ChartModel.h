#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
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

// A marker list drawn in a colour of its own: a kept run's path shown again over the current
// run's.
struct ColouredPath {
    std::vector<float> Points;
    std::array<std::uint8_t, 3> Colour{};
};

inline bool operator==(const ColouredPath& a, const ColouredPath& b) {
    return a.Colour == b.Colour && a.Points == b.Points;
}

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
                 const std::vector<float>& samples, std::vector<float> solutionPoints,
                 std::vector<float> populationPoints);
    // SetData without the marker lists, which stay as they are.
    void SetSurface(float xMin, float xMax, float yMin, float yMax, float zMin, float zMax,
                    const std::vector<float>& samples);

    // The marker lists, flat tuples as MarkerPoints builds them. A run's solution list only
    // grows, so its markers can be extended by the tuples of the new solutions alone.
    void SetSolutionPoints(std::vector<float> points);
    // The same with the list's scene points outside spiral mode for the current ranges, worked
    // out by the caller as ScenePoints(points, false) would, so that the frame needs no second
    // pass over a list of millions.
    void SetSolutionPoints(std::vector<float> points, std::vector<ScenePoint> scene);
    void AppendSolutionPoints(const std::vector<float>& points);
    void SetPopulationPoints(std::vector<float> points);
    const std::vector<float>& SolutionPoints() const { return solutionPoints_; }
    const std::vector<float>& PopulationPoints() const { return populationPoints_; }
    // The known optimum as one marker tuple of the same kind; empty when none is known. Returns
    // whether it changed.
    bool SetOptimumPoint(std::vector<float> point);
    const std::vector<float>& OptimumPoint() const { return optimumPoint_; }

    // A start picked on the chart as one marker tuple, marked until it is cleared (empty);
    // returns whether it changed.
    bool SetPickedPoint(std::vector<float> point);
    const std::vector<float>& PickedPoint() const { return pickedPoint_; }
    // Kept runs' paths (and a race's lanes), drawn with the current run's in their own colours;
    // returns whether they changed. A path that only grows is extended by the tuples of its new
    // solutions alone, so that its scene points are worked out only for them.
    bool SetKeptPaths(std::vector<ColouredPath> paths);
    void AppendKeptPoints(std::size_t path, const std::vector<float>& points);
    const std::vector<ColouredPath>& KeptPaths() const { return keptPaths_; }
    // The colour of the current run's path and population when not the markers' own blue and
    // yellow: a race's first lane's; returns whether it changed.
    bool SetRunColour(std::optional<std::array<std::uint8_t, 3>> colour);
    const std::optional<std::array<std::uint8_t, 3>>& RunColour() const { return runColour_; }
    // A race's lanes' populations, each drawn in its lane's colour; returns whether they changed
    // (compared by bytes: a marker of an undefined value is not equal to itself).
    bool SetLanePopulations(std::vector<ColouredPath> populations);
    const std::vector<ColouredPath>& LanePopulations() const { return lanePopulations_; }

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
    // ScenePoints of the two marker lists, kept from frame to frame: worked out again after the
    // list, the ranges or the spiral mode changed, and only for the new tuples after an append.
    const std::vector<ScenePoint>& SolutionScene(bool spiralMode);
    const std::vector<ScenePoint>& PopulationScene(bool spiralMode);
    // The same for the kept path `path` (an index into KeptPaths()).
    const std::vector<ScenePoint>& KeptScene(std::size_t path, bool spiralMode);

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

  private:
    // Scene points of a marker list and what they were worked out for: the list's first Read
    // numbers, the ranges and the mode. Valid is cleared when the list is replaced.
    struct SceneCache {
        std::vector<ScenePoint> Points;
        std::size_t Read = 0;
        std::array<float, 6> Ranges{};
        bool Spiral = false;
        bool Valid = false;
    };

    float MapAxis(float value, float min, float max) const;
    // Appends the scene points of the tuples that start at or after points[from] to out, and
    // returns how many numbers of points have been read then.
    std::size_t AppendScenePoints(const std::vector<float>& points, std::size_t from,
                                  bool spiralMode, std::vector<ScenePoint>& out) const;
    const std::vector<ScenePoint>& Follow(SceneCache& cache, const std::vector<float>& points,
                                          bool spiralMode) const;

    bool lineMode_ = false;
    std::vector<float> solutionPoints_;
    std::vector<float> populationPoints_;
    std::vector<float> optimumPoint_;
    std::vector<ColouredPath> keptPaths_;
    std::vector<SceneCache> keptScenes_;  // one per kept path
    std::vector<ColouredPath> lanePopulations_;
    std::optional<std::array<std::uint8_t, 3>> runColour_;
    std::vector<float> pickedPoint_;
    SceneCache solutionScene_;
    SceneCache populationScene_;
};

// Inline: a list of millions is placed point by point.
inline float ChartModel::MapAxis(float value, float min, float max) const {
    // The step is the width the sampling used (|max - min|), so a marker lies on the surface
    // also when the range was typed the wrong way round.
    const float step = std::fabs(max - min) * 0.01f;
    if (step == 0.0f) return -1.0f;
    return (std::fabs(value - min) / step - 50.0f) * 0.02f;
}

inline ScenePoint ChartModel::MapTriple(float x, float y, float f) const {
    ScenePoint p = MapPair(x, f);
    p.Y = MapAxis(y, YMin, YMax);
    return p;
}

inline ScenePoint ChartModel::MapPair(float x, float f) const {
    return ScenePoint{MapAxis(x, XMin, XMax), 0.0f, MapSingle(f).Z};
}

inline ScenePoint ChartModel::MapSingle(float f) const {
    // The grid's scaling; SetData guarantees a range that is not empty.
    const float half = (ZMax - ZMin) * 0.5f;
    return ScenePoint{0.0f, 0.0f, (f - half) / half};
}

}  // namespace quarmel
