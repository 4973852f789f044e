#include "chart/ChartModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <thread>
#include <utility>

namespace quarmel {

namespace {

// Grid coordinate of column or row n: -1 at n = 0, 0.98 at n = 99.
float GridCoordinate(int n) {
    return static_cast<float>(n - 50) * 0.02f;
}

// The surface's colour ramp over g = sample / height range: mid green at 0, through bright green
// and yellow to red at 1. Values outside 0..1 are left to the graphics library to clamp.
void RampColour(ChartVertex& v, float g) {
    v.Red = 1.9f * g;
    if (g < 0.05f) {
        v.Green = 1.0f - 0.5f * std::pow(6.0f, g);
    } else if (g < 0.15f) {
        v.Green = 1.0f - 0.1f * std::pow(6.0f, g);
    } else {
        v.Green = 1.0f - 1.2f * g * g;
    }
    v.Blue = g < 0.2f ? 3.0f * g * g : 0.0f;
}

// The curve's colours repeat with the fractional part l of sample / height range.
void LineColour(ChartVertex& v, float l) {
    if (l < 0.05f) {
        v.Red = 0.6f;
        v.Green = 0.2f;
        v.Blue = 0.5f;
        return;
    }
    float o = 0.0f;
    if (l > 0.2f && l < 0.4f) {
        o = 0.3f;
    } else if (l > 0.4f && l < 0.6f) {
        o = 0.5f;
    }
    v.Red = 1.0f - l + o * l;
    v.Green = l;
    v.Blue = 0.0f;
}

}  // namespace

void ChartModel::SetData(float xMin, float xMax, float yMin, float yMax, float zMin, float zMax,
                         const std::vector<float>& samples, std::vector<float> solutionPoints,
                         std::vector<float> populationPoints) {
    SetSurface(xMin, xMax, yMin, yMax, zMin, zMax, samples);
    SetSolutionPoints(std::move(solutionPoints));
    SetPopulationPoints(std::move(populationPoints));
}

void ChartModel::SetSolutionPoints(std::vector<float> points) {
    solutionPoints_ = std::move(points);
    solutionScene_.Valid = false;
}

void ChartModel::SetSolutionPoints(std::vector<float> points, std::vector<ScenePoint> scene) {
    solutionPoints_ = std::move(points);
    solutionScene_.Points = std::move(scene);
    // One point per tuple, a triple with the Y axis and a pair without.
    solutionScene_.Read = solutionScene_.Points.size() * (YAxisPresent() ? 3 : 2);
    solutionScene_.Ranges = {XMin, XMax, YMin, YMax, ZMin, ZMax};
    solutionScene_.Spiral = false;
    solutionScene_.Valid = true;
}

void ChartModel::AppendSolutionPoints(const std::vector<float>& points) {
    solutionPoints_.insert(solutionPoints_.end(), points.begin(), points.end());
}

bool ChartModel::SetOptimumPoint(std::vector<float> point) {
    if (point == optimumPoint_) return false;
    optimumPoint_ = std::move(point);
    return true;
}

bool ChartModel::SetPickedPoint(std::vector<float> point) {
    if (point == pickedPoint_) return false;
    pickedPoint_ = std::move(point);
    return true;
}

bool ChartModel::SetKeptPaths(std::vector<ColouredPath> paths) {
    if (paths == keptPaths_) return false;
    keptPaths_ = std::move(paths);
    keptScenes_.assign(keptPaths_.size(), SceneCache{});
    return true;
}

void ChartModel::AppendKeptPoints(std::size_t path, const std::vector<float>& points) {
    std::vector<float>& to = keptPaths_.at(path).Points;
    to.insert(to.end(), points.begin(), points.end());
}

bool ChartModel::SetRunColour(std::optional<std::array<std::uint8_t, 3>> colour) {
    if (colour == runColour_) return false;
    runColour_ = colour;
    return true;
}

bool ChartModel::SetLanePopulations(std::vector<ColouredPath> populations) {
    const auto sameBytes = [](const ColouredPath& a, const ColouredPath& b) {
        return a.Colour == b.Colour && a.Points.size() == b.Points.size() &&
               (a.Points.empty() || std::memcmp(a.Points.data(), b.Points.data(),
                                                a.Points.size() * sizeof(float)) == 0);
    };
    if (std::equal(populations.begin(), populations.end(), lanePopulations_.begin(),
                   lanePopulations_.end(), sameBytes))
        return false;
    lanePopulations_ = std::move(populations);
    return true;
}

void ChartModel::SetPopulationPoints(std::vector<float> points) {
    populationPoints_ = std::move(points);
    populationScene_.Valid = false;
}

void ChartModel::SetSurface(float xMin, float xMax, float yMin, float yMax, float zMin, float zMax,
                            const std::vector<float>& samples) {
    auto sample = [&samples](std::size_t v) { return v < samples.size() ? samples[v] : 0.0f; };

    if (zMax == 0.0f && zMin == 0.0f) zMax = sample(0) + 10.0f;
    // Still empty (a first sample of -10, or a caller's flat range): the heights would divide by
    // zero, so give the range the same width as above.
    if (zMax == zMin) zMax = zMin + 10.0f;

    XMin = xMin;
    XMax = xMax;
    YMin = yMin;
    YMax = yMax;
    ZMin = zMin;
    ZMax = zMax;

    const float d = ZMax - ZMin;
    const float half = d * 0.5f;

    for (ChartVertex& v : Vertices) {
        v.Red = 0.2f;
        v.Green = 0.2f;
        v.Blue = 0.0f;
    }

    lineMode_ = !GridMode(XMin, XMax, YMin, YMax) || samples.size() < kGridVertices;
    if (!lineMode_) {
        for (int i = 0; i < kGridSide; ++i) {
            for (int j = 0; j < kGridSide; ++j) {
                const int n = i * kGridSide + j;
                ChartVertex& v = Vertices[n];
                v.X = GridCoordinate(j);
                v.Y = GridCoordinate(i);
                v.Z = (samples[n] - half) / half;
                RampColour(v, (v.Z + 1.0f) * 0.5f);
            }
        }
    } else {
        for (int j = 0; j < kLineSamples; ++j) {
            ChartVertex& v = Vertices[j];
            const float s = sample(j);
            v.X = GridCoordinate(j);
            v.Y = 0.0f;
            v.Z = (s - half) / half;
            const float q = s / d;
            LineColour(v, q - std::floor(q));
        }
    }

    AxisXEnd = 1.0f;
    AxisXStart = -1.0f;
    AxisYEnd = 1.0f;
    AxisYStart = -1.0f;
    AxisZBottom = (ZMin - half) / half;
    AxisZTop = (ZMax - half) / half;
}

ScenePoint ChartModel::MapSpiral(float r, float theta, float z) {
    const float shrink = 1.0f - 0.05f * theta;
    return ScenePoint{r * std::cos(theta) * shrink, r * std::sin(theta) * shrink, z};
}

std::vector<ScenePoint> ChartModel::ScenePoints(const std::vector<float>& points,
                                                bool spiralMode) const {
    std::vector<ScenePoint> out;
    AppendScenePoints(points, 0, spiralMode, out);
    return out;
}

std::size_t ChartModel::AppendScenePoints(const std::vector<float>& points, std::size_t from,
                                          bool spiralMode, std::vector<ScenePoint>& out) const {
    const std::size_t n = points.size();
    if (!spiralMode && !YAxisPresent() && !XAxisPresent()) {
        if (from == 0 && n > 0) out.push_back(MapSingle(points[0]));
        return from == 0 && n > 0 ? n : from;
    }
    // Only the lists of two axes hold (r, theta, z) triples.
    if (spiralMode && !YAxisPresent()) return from;
    const std::size_t size = YAxisPresent() ? 3 : 2;
    const std::size_t count = from < n ? (n - from) / size : 0;
    const std::size_t at = out.size();
    // Room for every new point at once: a list of millions would otherwise be copied as it
    // doubles, and keep up to twice its room; growing by at least doubling keeps a list appended
    // to tick by tick from moving at every tick.
    if (at + count > out.capacity()) out.reserve(std::max(at + count, 2 * out.capacity()));
    out.resize(at + count);
    auto fill = [&](std::size_t begin, std::size_t end) {
        const float* p = points.data() + from + begin * size;
        ScenePoint* o = out.data() + at + begin;
        for (std::size_t k = begin; k < end; ++k, p += size, ++o) {
            if (spiralMode) {
                *o = MapSpiral(p[0], p[1], p[2]);
            } else if (size == 3) {
                *o = MapTriple(p[0], p[1], p[2]);
            } else {
                *o = MapPair(p[0], p[1]);
            }
        }
    };
    // Long lists are placed on two threads: each point depends on its tuple alone, and the first
    // frame after new markers waits for them.
    constexpr std::size_t kPointsPerThread = 1 << 18;
    if (count < 2 * kPointsPerThread) {
        fill(0, count);
    } else {
        std::thread other;
        try {
            other = std::thread(fill, count / 2, count);
        } catch (const std::exception&) {
            fill(count / 2, count);
        }
        fill(0, count / 2);
        if (other.joinable()) other.join();
    }
    return from + count * size;
}

const std::vector<ScenePoint>& ChartModel::Follow(SceneCache& cache,
                                                  const std::vector<float>& points,
                                                  bool spiralMode) const {
    const std::array<float, 6> ranges = {XMin, XMax, YMin, YMax, ZMin, ZMax};
    if (!cache.Valid || cache.Spiral != spiralMode || cache.Ranges != ranges) {
        cache.Points.clear();
        cache.Read = 0;
        cache.Ranges = ranges;
        cache.Spiral = spiralMode;
        cache.Valid = true;
    }
    cache.Read = AppendScenePoints(points, cache.Read, spiralMode, cache.Points);
    return cache.Points;
}

const std::vector<ScenePoint>& ChartModel::SolutionScene(bool spiralMode) {
    return Follow(solutionScene_, solutionPoints_, spiralMode);
}

const std::vector<ScenePoint>& ChartModel::PopulationScene(bool spiralMode) {
    return Follow(populationScene_, populationPoints_, spiralMode);
}

const std::vector<ScenePoint>& ChartModel::KeptScene(std::size_t path, bool spiralMode) {
    return Follow(keptScenes_.at(path), keptPaths_.at(path).Points, spiralMode);
}

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
            Wave.Start();
        } else {
            Wave.Step();
        }
        Wave.Show(Vertices);
    }
    GridRebuildPending = false;
}

std::vector<ChartLabel> ChartModel::AxisLabels() const {
    std::vector<ChartLabel> labels;
    auto add = [&labels](const char* format, float value, ScenePoint at, unsigned char r,
                         unsigned char g, unsigned char b) {
        if (value == 0.0f) return;
        char text[64];
        std::snprintf(text, sizeof text, format, static_cast<double>(value));
        labels.push_back(ChartLabel{text, at, r, g, b});
    };
    add("X=%g", XMin, {AxisXStart, 0.0f, AxisZBottom}, 255, 200, 200);
    add("X=%g", XMax, {AxisXEnd, 0.0f, AxisZBottom}, 255, 200, 200);
    add("Y=%g", YMin, {0.0f, AxisYStart, AxisZBottom}, 200, 255, 200);
    add("Y=%g", YMax, {0.0f, AxisYEnd, AxisZBottom}, 200, 255, 200);
    add("Z=%2.1f", ZMin, {0.0f, 0.0f, AxisZBottom}, 200, 200, 255);
    add("Z=%2.1f", ZMax, {0.0f, 0.0f, AxisZTop}, 200, 200, 255);
    return labels;
}

}  // namespace quarmel
