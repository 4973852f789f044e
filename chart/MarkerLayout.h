#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "chart/ChartTypes.h"

namespace quarmel {

// How a frame draws many marker spheres at a cost bounded by what is visible. No graphics call:
// SurfaceChart hands in the frame's matrices and draws what comes out.
//
// Every marker is a sphere of radius kMarkerRadius in one colour, drawn with the depth test, so
// the picture does not depend on the order in which spheres are drawn, and a sphere hidden
// behind a nearer one at the same screen pixel adds little. A frame therefore draws, for each
// pixel a marker's centre falls on, only the nearest marker there (a marker repeating the one
// before it always goes), and each with as few segments as its size on screen allows: the outline
// of a sphere with s segments lies within kOutlineTolerance pixels of the true circle. Spheres
// too large for the finest prepared level are drawn in full.
//
// The line through the path is thinned: a vertex that falls on the pixel of the vertex kept
// before it is left out, which moves the drawn line by at most about a pixel. The first and the
// last vertex always stay, and so does every vertex whose pixel says little (near or behind the
// eye, not a number), with the vertex before it: a segment cut by the near plane depends on
// where its ends really are.

constexpr float kMarkerRadius = 0.02f;
constexpr double kOutlineTolerance = 0.5;
// Segments around a sphere at each prepared level; stacks are half as many.
constexpr std::array<int, 5> kSphereLevels = {6, 8, 12, 16, 24};

// The frame's view: column-major matrices as the graphics library reports them, and the
// viewport (x, y, width, height).
struct MarkerView {
    std::array<double, 16> Modelview{};
    std::array<double, 16> Projection{};
    std::array<int, 4> Viewport{};
};

// What one frame draws of a path: for each prepared level the centres of the spheres drawn at
// that level, the centres drawn in full, and the vertices of the path's line.
struct MarkerPlan {
    std::array<std::vector<ScenePoint>, kSphereLevels.size()> ByLevel;
    std::vector<ScenePoint> Full;
    std::vector<ScenePoint> Strip;
    // The number of spheres.
    std::size_t Count() const;
};

// Chooses the spheres for the path's markers and the vertices of its line. The scratch buffers
// keep their storage from frame to frame.
class MarkerLayout {
  public:
    void Plan(const std::vector<ScenePoint>& path, const MarkerView& view, MarkerPlan& plan);

    // The level for a sphere of the given radius in pixels, or -1 for one drawn in full.
    static int LevelFor(double radiusPixels);

  private:
    std::vector<float> nearest_;          // depth of the nearest centre per pixel
    std::vector<std::uint32_t> owner_;    // its index in the path, per pixel
    std::vector<std::uint32_t> touched_;  // pixels given an owner this frame
};

// A triangle mesh of a sphere of the given radius about the origin, wound counter-clockwise
// seen from outside: positions (x, y, z) and indices.
struct SphereMesh {
    std::vector<float> Positions;
    std::vector<std::uint32_t> Indices;
};
SphereMesh MakeSphereMesh(int slices, int stacks, float radius);

}  // namespace quarmel
