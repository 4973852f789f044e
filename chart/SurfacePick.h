#pragma once

#include <optional>

#include "chart/ChartFrame.h"
#include "chart/ChartModel.h"

namespace quarmel {

// The point of the sampled surface under the pointer: the ray from the eye through a point of
// the viewport, in the view a frame is drawn with (SurfaceChart::Render's projection and
// modelview), cast through the model's grid of two triangles per cell; the nearest hit in front
// of the eye. (ndcX, ndcY) is the pointer in normalised device coordinates: -1 .. 1 from the
// left to the right and from the bottom to the top of the panel. None when the ray misses the
// surface, or when the chart shows no surface (a curve, the wave, the spiral).
std::optional<ScenePoint> PickSurface(const ChartModel& model, const ChartFrame& frame, double ndcX,
                                      double ndcY);

// The values along the chart's X and Y axes at a scene point: MapTriple's placing undone.
struct AxisValues {
    double X = 0.0;
    double Y = 0.0;
    double Value = 0.0;  // the height as a function value
};
AxisValues ValuesAt(const ChartModel& model, const ScenePoint& p);

}  // namespace quarmel
