#pragma once

#include <array>
#include <cstddef>

#include "chart/ChartTypes.h"
#include "chart/PixelCanvas.h"

namespace quarmel {

// The markers of a path projected to the window a block at a time, coordinate by coordinate,
// so that processors with wide registers project several at once: the marker layout's first
// step, and most of its arithmetic.

// What a block needs of the view: the scene-to-clip matrix (column-major), the viewport's
// size and half of it, the spheres' radius in the scene, the projection's scale of a length at
// unit distance (a sphere's radius on screen is Radius * Scale / w), the clip w of the near
// plane (0 for none), and the cells of 2^CellShift pixels square, tiled as TiledCell lays them
// out with TilesAcross tiles to a row.
struct Projection {
    const double* Clip;
    int Width, Height;
    double HalfW, HalfH;
    float Radius;
    double Scale, NearW;
    int CellShift;
    std::size_t TilesAcross;
};

// What a marker's sphere takes: nothing (before the eye, or entirely off the viewport), a
// sphere drawn in full (across the near plane, where the projection of its centre says
// little), a sphere planned on its own (centre off the viewport, some of it on), or the cell
// its centre falls on.
enum class SphereKind : int { None, Full, Alone, InCell };

// A block of consecutive markers: entry 0 the marker before the block, entries 1 to
// kBlockMarkers the block's own.
constexpr std::size_t kBlockMarkers = 64;
struct ProjectedBlock {
    static constexpr std::size_t kEntries = kBlockMarkers + 1;
    template <typename T>
    using Column = std::array<T, kEntries>;
    // The window position, clip w and 1 / w.
    Column<double> X, Y, W, InverseW;
    // The window position and depth rounded to float, as the line takes them.
    Column<float> AtX, AtY, AtZ;
    // Whether the marker lies between the near and the far plane at a position of useful size.
    Column<int> OnScreen;
    // The pixels of (X, Y) and of (AtX, AtY); meaningless for a position not within 1e7 of
    // the viewport.
    Column<int> PixelX, PixelY, AtPixelX, AtPixelY;
    // The scene position, and the segment from the entry before to this one as CutSegment
    // leaves it (Long 0 where it leaves nothing).
    Column<float> SceneX, SceneY, SceneZ;
    Column<float> FromX, FromY, FromZ, ToX, ToY, ToZ;
    Column<int> Long;
    // Whether the marker repeats the entry before bit for bit (a line of no length, the same
    // sphere again; 0 for entry 0), what its sphere takes, and for InCell the cell.
    Column<int> Repeat;
    Column<SphereKind> Kind;
    Column<int> Cell;
};

// The segment from a to b (scene) with window positions wa and wb, less the parts within the
// spheres of radius r about its ends: false when nothing is left (no longer than a diameter),
// else the cut ends, taken along the segment on screen, where perspective moves them by a small
// part of the radius, so they stay within the end spheres' discs.
inline bool CutSegment(const ScenePoint& a, const ScenePoint& b, const WindowPoint& wa,
                       const WindowPoint& wb, float r, WindowPoint& from, WindowPoint& to) {
    const float dx = b.X - a.X, dy = b.Y - a.Y, dz = b.Z - a.Z;
    const float squared = dx * dx + dy * dy + dz * dz;
    if (!(squared > 4.0f * r * r)) return false;
    const float ft = r / std::sqrt(squared);
    from = {wa.X + ft * (wb.X - wa.X), wa.Y + ft * (wb.Y - wa.Y), wa.Z + ft * (wb.Z - wa.Z)};
    to = {wb.X + ft * (wa.X - wb.X), wb.Y + ft * (wa.Y - wb.Y), wb.Z + ft * (wa.Z - wb.Z)};
    return true;
}

// Fills entries 0 to count of out from points[0] to points[count] (at most kEntries), the
// segments of entries 1 to count included.
void ProjectMarkers(const ScenePoint* points, std::size_t count, const Projection& view,
                    ProjectedBlock& out);

}  // namespace quarmel
