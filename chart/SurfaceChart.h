#pragma once

#include "chart/ChartFrame.h"
#include "chart/ChartModel.h"

class GLUquadric;

namespace quarmel {

// Draws the chart model with OpenGL 1.1 and GLU. Every call that touches OpenGL needs the
// chart's context to be current (a compatibility-profile context); the model side (SetData, the
// marker mapping, the wave) needs none.
class SurfaceChart : public ChartModel {
  public:
    SurfaceChart() = default;
    SurfaceChart(const SurfaceChart&) = delete;
    SurfaceChart& operator=(const SurfaceChart&) = delete;
    // Does not touch OpenGL: call DetachContext while the context is still current.
    ~SurfaceChart() override = default;

    // Takes over the label glyphs of the current context and creates the sphere quadric.
    // fontListBase is the first of 256 display lists: list fontListBase + c draws the bitmap of
    // character c at the raster position in the current colour.
    void AttachContext(unsigned fontListBase);
    // Releases what AttachContext took (the glyph lists and the quadric).
    void DetachContext();
    bool Attached() const { return SphereQuadric != nullptr; }

    // Renders one frame into the current framebuffer and waits for it to finish; the caller
    // presents it. Without an attached context, spheres and labels are left out.
    void Render(int x, int y, int width, int height, bool waveMode, float distance, float tiltAngle,
                float turnAngle, float shiftX, float shiftY, bool showPoints, bool showPolygons,
                bool smoothShading, bool showSolution, bool showAxes, bool showAxesDescription,
                bool showLines, bool spiralMode);
    void Render(int x, int y, int width, int height, const ChartFrame& frame);

    // Draws a text at a scene position, in the current colour.
    void DrawLabel(float x, float y, float z, const char* text) const;

    unsigned FontListBase = 0;
    GLUquadric* SphereQuadric = nullptr;

  private:
    void PrepareFrame(int x, int y, int width, int height);
    void ClearScene();
    void DrawWave(const ChartFrame& f);
    void DrawSurface(const ChartFrame& f);
    void DrawHelix();
    void DrawMarkers(bool spiralMode);
    void DrawSphere(const ScenePoint& p);
    void DrawAxes();
    void DrawLabels();
};

}  // namespace quarmel
