#pragma once

#include <array>
#include <cstdint>

namespace quarmel {

// How a path's markers look. Every way of drawing a marker reads it from here: the sphere the
// graphics library draws in full, the prepared meshes of the cheaper levels and the sphere
// painted into a PixelCanvas, so the three cannot drift apart.
struct MarkerStyle {
    float Radius;                        // in scene units
    std::array<std::uint8_t, 3> Colour;  // red, green, blue
    int FullSlices;                      // a sphere drawn in full
    int FullStacks;
    // Segments around a sphere at each prepared level, finest last.
    std::array<int, 5> LevelSlices;
    // A prepared level's stacks: half its slices, at least 3.
    static constexpr int LevelStacks(int slices) { return slices / 2 > 3 ? slices / 2 : 3; }
};

inline constexpr MarkerStyle kMarkerStyle{0.02f, {0, 0, 255}, 32, 32, {6, 8, 12, 16, 24}};

}  // namespace quarmel
