#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "chart/ChartFrame.h"
#include "chart/ChartModel.h"
#include "chart/MarkerLayout.h"

class GLUquadric;

namespace quarmel {

// Draws a chart model with OpenGL 1.1 and GLU, holding what it takes from the context: the
// label glyphs and the sphere quadric. Every call needs the chart's context to be current (a
// compatibility-profile context); the model it is handed needs none.
class SurfaceChart {
  public:
    SurfaceChart() = default;
    SurfaceChart(const SurfaceChart&) = delete;
    SurfaceChart& operator=(const SurfaceChart&) = delete;
    // Does not touch OpenGL: call DetachContext while the context is still current.
    ~SurfaceChart() = default;

    // Takes over the label glyphs of the current context and creates the sphere quadric.
    // fontListBase is the first of 256 display lists: list fontListBase + c draws the bitmap of
    // character c at the raster position in the current colour.
    void AttachContext(unsigned fontListBase);
    // Releases what AttachContext took (the glyph lists and the quadric).
    void DetachContext();
    bool Attached() const { return SphereQuadric != nullptr; }

    // Renders one frame of the model into the current framebuffer and waits for it to finish;
    // the caller presents it. The frame's grid bookkeeping changes the model (the grid is rebuilt
    // on a change of mode, a wave advances a step). Without an attached context, spheres and
    // labels are left out.
    void Render(ChartModel& model, int x, int y, int width, int height, const ChartFrame& frame);

    // Draws a text at a scene position, in the current colour.
    void DrawLabel(float x, float y, float z, const char* text) const;

    unsigned FontListBase = 0;
    GLUquadric* SphereQuadric = nullptr;
    // Draws every marker as a full sphere, one after the other: the reference picture that the
    // cheaper drawing of MarkerLayout is compared with.
    bool ExactMarkers = false;

  private:
    static void PrepareFrame(const ChartModel& m, int x, int y, int width, int height);
    static void ClearScene();
    static void DrawWave(const ChartModel& m, const ChartFrame& f);
    static void DrawSurface(const ChartModel& m, const ChartFrame& f);
    static void DrawHelix();
    void DrawMarkers(ChartModel& m, bool spiralMode);
    // Every marker of a path as a full sphere and, when `line`, its line through every marker, in
    // the current colour (the colour array off).
    void DrawExactPath(const std::vector<ScenePoint>& path, bool line);
    // A planned path's spheres, painted pixels and segments left to the library, in the current
    // colour (the colour array off).
    void DrawPlan(const MarkerPlan& plan);
    // A population's points in the current colour.
    static void DrawPoints(const std::vector<ScenePoint>& points);
    // Three thick lines in one colour over everything drawn so far, whatever lies in front.
    static void DrawMark(const std::array<std::uint8_t, 3>& colour,
                         const std::array<ScenePoint, 6>& ends);
    static void DrawOptimum(const ChartModel& m);
    static void DrawPicked(const ChartModel& m);
    void DrawSphere(const ScenePoint& p) const;
    // The paths' spheres and lines as MarkerLayout plans them together for the current
    // matrices, into plans_.
    void PlanMarkers(const std::vector<const std::vector<ScenePoint>*>& paths, int width,
                     int height, bool line);
    void DrawPlannedSpheres(const MarkerPlan& plan);
    void DrawPaintedPixels(const MarkerPlan& plan, int width, int height);
    static void DrawDepthImage(const DepthImage& image, int width, int height);

    unsigned fullSphereList_ = 0;  // one sphere drawn in full
    std::vector<SphereMesh> meshes_;
    MarkerLayout layout_;
    std::vector<MarkerPlan> plans_;  // the current run's path's, then each kept path's
    std::vector<MarkerPlan*> planned_;
    std::vector<const std::vector<ScenePoint>*> paths_;
    std::vector<float> batchPositions_;
    std::vector<unsigned> batchIndices_;
    int viewportWidth_ = 0;
    int viewportHeight_ = 0;
    static void DrawAxes(const ChartModel& m);
    void DrawLabels(const ChartModel& m) const;
};

}  // namespace quarmel
