#pragma once

namespace quarmel {

// The chart grid: 100 x 100 vertices, 99 x 99 cells of four indices each.
constexpr int kGridSide = 100;
constexpr int kGridVertices = kGridSide * kGridSide;
constexpr int kQuadIndexCount = (kGridSide - 1) * (kGridSide - 1) * 4;
// Samples of a curve over one axis.
constexpr int kLineSamples = kGridSide;

// One grid vertex, position then colour, interleaved so that a single array serves as both the
// vertex array and the colour array of the graphics library.
struct ChartVertex {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
    float Red = 0.0f;
    float Green = 0.0f;
    float Blue = 0.0f;
};
static_assert(sizeof(ChartVertex) == 6 * sizeof(float), "vertices are drawn with a 24-byte stride");

// A position in the chart's scene (a cube of side 2 around the origin).
struct ScenePoint {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
};

// Axis presence travels in the ranges themselves: an axis whose range is 0 .. 0 is absent.
inline bool AxisPresent(float min, float max) {
    return max != 0.0f || min != 0.0f;
}

// Grid mode shows a surface; line mode (X axis only) shows a curve.
inline bool GridMode(float xMin, float xMax, float yMin, float yMax) {
    return AxisPresent(yMin, yMax) || !AxisPresent(xMin, xMax);
}

}  // namespace quarmel
