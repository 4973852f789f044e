#include "chart/SurfaceChart.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quarmel {

void SurfaceChart::AttachContext(unsigned fontListBase) {
    FontListBase = fontListBase;
    if (SphereQuadric == nullptr) {
        SphereQuadric = gluNewQuadric();
        gluQuadricNormals(SphereQuadric, GLU_SMOOTH);
        gluQuadricTexture(SphereQuadric, GL_TRUE);
    }
    if (fullSphereList_ == 0) {
        fullSphereList_ = glGenLists(1);
        glNewList(fullSphereList_, GL_COMPILE);
        gluSphere(SphereQuadric, kMarkerStyle.Radius, kMarkerStyle.FullSlices,
                  kMarkerStyle.FullStacks);
        glEndList();
    }
    // The software rasteriser builds its code for drawing an image of depths the first time
    // it is asked to: here, with a pixel at the far plane's depth that passes no test, rather
    // than in the first frame of a long path.
    const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
    glEnable(GL_DEPTH_TEST);
    DepthImage far;
    far.Width = far.Height = 1;
    far.Depths.assign(1, 1.0f);
    DrawDepthImage(far, 1, 1);
    if (depthTest == GL_FALSE) glDisable(GL_DEPTH_TEST);
    if (meshes_.empty()) {
        for (int slices : kMarkerStyle.LevelSlices) {
            meshes_.push_back(
                MakeSphereMesh(slices, MarkerStyle::LevelStacks(slices), kMarkerStyle.Radius));
        }
    }
}

void SurfaceChart::DetachContext() {
    if (FontListBase != 0) glDeleteLists(FontListBase, 256);
    FontListBase = 0;
    if (SphereQuadric != nullptr) gluDeleteQuadric(SphereQuadric);
    SphereQuadric = nullptr;
    if (fullSphereList_ != 0) glDeleteLists(fullSphereList_, 1);
    fullSphereList_ = 0;
}

void SurfaceChart::Render(ChartModel& m, int x, int y, int width, int height, const ChartFrame& f) {
    PrepareFrame(m, x, y, width, height);
    viewportWidth_ = width;
    viewportHeight_ = height;
    ClearScene();
    glShadeModel(f.SmoothShading ? GL_SMOOTH : GL_FLAT);
    m.BeginFrame(f.WaveMode);
    if (f.WaveMode) {
        DrawWave(m, f);
    } else {
        // The bottom of the height range sits at the same screen height whatever the values.
        glTranslatef(f.ShiftX * 0.001f, f.ShiftY * 0.001f - m.AxisZBottom, -f.Distance * 0.001f);
        glRotatef(f.TiltAngle, 1.0f, 0.0f, 0.0f);
        glRotatef(f.TurnAngle, 0.0f, 0.0f, 1.0f);
        DrawSurface(m, f);
        if (f.ShowSolution) DrawMarkers(m, f.SpiralMode);
        if (f.ShowAxes && !f.SpiralMode) DrawAxes(m);
        if (f.ShowAxesDescription && !f.SpiralMode) DrawLabels(m);
        if (!f.SpiralMode) DrawOptimum(m);
        if (!f.SpiralMode) DrawPicked(m);
    }
    m.EndFrame(f.WaveMode);
    glFinish();
}

void SurfaceChart::PrepareFrame(const ChartModel& m, int x, int y, int width, int height) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glViewport(x, y, width, height);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(ChartVertex), &m.Vertices[0].X);
    glColorPointer(3, GL_FLOAT, sizeof(ChartVertex), &m.Vertices[0].Red);
    glPointSize(2.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Fixed at 4:3: a panel of other proportions stretches the picture.
    glFrustum(-0.64, 0.64, -0.48, 0.48, 1.0, 15000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void SurfaceChart::ClearScene() {
    glClearColor(0.0f, 0.0f, 0.2f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void SurfaceChart::DrawWave(const ChartModel& m, const ChartFrame& f) {
    glTranslatef(f.ShiftX * 0.001f, f.ShiftY * 0.001f, -f.Distance * 0.001f);
    glRotatef(f.TiltAngle, 1.0f, 0.0f, 0.0f);
    glRotatef(f.TurnAngle, 0.0f, 0.0f, 1.0f);
    glDrawElements(GL_QUADS, kQuadIndexCount, GL_UNSIGNED_INT, m.QuadIndices.data());
}

void SurfaceChart::DrawSurface(const ChartModel& m, const ChartFrame& f) {
    if (f.SpiralMode) {
        if (f.ShowPolygons) DrawHelix();
        return;
    }
    if (m.LineMode()) {
        // The curve is drawn whatever the style boxes say.
        glDrawArrays(GL_LINE_STRIP, 0, kLineSamples);
        return;
    }
    if (f.ShowPolygons) {
        glDrawElements(GL_QUADS, kQuadIndexCount, GL_UNSIGNED_INT, m.QuadIndices.data());
    }
    if (f.ShowPoints) glDrawArrays(GL_POINTS, 0, kGridVertices);
    // Read in pairs, each cell's indices give its two edges along X: the rows of the grid.
    if (f.ShowLines) {
        glDrawElements(GL_LINES, kQuadIndexCount, GL_UNSIGNED_INT, m.QuadIndices.data());
    }
}

void SurfaceChart::DrawHelix() {
    glBegin(GL_POINTS);
    for (float r = 0.0f; r < 1.0f; r += 0.02f) {
        for (float t = 0.0f; t < 19.84f; t += 0.02f) {
            const float z = 0.125f * t - 0.5f;
            const float shrink = 1.0f - 0.05f * t;
            glColor3f(1.0f - z, z, 0.0f);
            glVertex3f(std::cos(t) * r * shrink, std::sin(t) * r * shrink, z);
        }
    }
    glEnd();
}

void SurfaceChart::DrawSphere(const ScenePoint& p) const {
    if (fullSphereList_ == 0) return;
    glPushMatrix();
    glTranslatef(p.X, p.Y, p.Z);
    glCallList(fullSphereList_);
    glPopMatrix();
}

void SurfaceChart::PlanMarkers(const std::vector<const std::vector<ScenePoint>*>& paths, int width,
                               int height, bool line) {
    MarkerView view;
    glGetDoublev(GL_MODELVIEW_MATRIX, view.Modelview.data());
    glGetDoublev(GL_PROJECTION_MATRIX, view.Projection.data());
    view.Viewport = {0, 0, width, height};
    MarkerParts parts;
    parts.Spheres = SphereQuadric != nullptr;
    parts.Line = line;
    if (plans_.size() < paths.size()) plans_.resize(paths.size());
    planned_.clear();
    for (std::size_t k = 0; k < paths.size(); ++k) planned_.push_back(&plans_[k]);
    layout_.Plan(paths, view, planned_, parts);
}

void SurfaceChart::DrawPaintedPixels(const MarkerPlan& plan, int width, int height) {
    DrawDepthImage(plan.Pixels, width, height);
}

void SurfaceChart::DrawDepthImage(const DepthImage& image, int width, int height) {
    if (image.Width <= 0 || image.Height <= 0) return;
    // The painted pixels as one rectangle of depths, written where they pass the depth test:
    // one image instead of a point per pixel, which the software rasteriser handles many times
    // faster. Unpainted pixels of the rectangle hold the far plane's depth, which passes no
    // "less than" test. The fragments take the current colour through the raster position.
    // Window coordinates as they are: x and y in pixels.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, 0.0, -1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos3f(static_cast<float>(image.Left) + 0.25f, static_cast<float>(image.Bottom) + 0.25f,
                  0.0f);
    glDepthFunc(GL_LESS);
    GLint rowLength = 0, alignment = 4;
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glDrawPixels(image.Width, image.Height, GL_DEPTH_COMPONENT, GL_FLOAT, image.Depths.data());
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glDepthFunc(GL_LEQUAL);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void SurfaceChart::DrawPlannedSpheres(const MarkerPlan& plan) {
    // The spheres of a level in one batch, from the one prepared mesh. A sphere is closed and
    // of one colour, so its back faces never show: they are culled.
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    for (std::size_t k = 0; k < plan.ByLevel.size(); ++k) {
        const std::vector<ScenePoint>& centres = plan.ByLevel[k];
        if (centres.empty()) continue;
        const SphereMesh& mesh = meshes_[k];
        const std::size_t vertices = mesh.Positions.size() / 3;
        batchPositions_.resize(centres.size() * mesh.Positions.size());
        batchIndices_.resize(centres.size() * mesh.Indices.size());
        float* pos = batchPositions_.data();
        unsigned* idx = batchIndices_.data();
        for (std::size_t c = 0; c < centres.size(); ++c) {
            const ScenePoint& p = centres[c];
            for (std::size_t v = 0; v < mesh.Positions.size(); v += 3) {
                *pos++ = p.X + mesh.Positions[v];
                *pos++ = p.Y + mesh.Positions[v + 1];
                *pos++ = p.Z + mesh.Positions[v + 2];
            }
            const auto base = static_cast<unsigned>(c * vertices);
            for (std::uint32_t i : mesh.Indices) *idx++ = base + i;
        }
        glVertexPointer(3, GL_FLOAT, 0, batchPositions_.data());
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(batchIndices_.size()), GL_UNSIGNED_INT,
                       batchIndices_.data());
    }
    glDisable(GL_CULL_FACE);
    for (const ScenePoint& p : plan.Full) DrawSphere(p);
}

void SurfaceChart::DrawExactPath(const std::vector<ScenePoint>& path, bool line) {
    // The reference picture: every sphere in full and the line through every marker.
    for (const ScenePoint& p : path) DrawSphere(p);
    if (line && !path.empty()) {
        glVertexPointer(3, GL_FLOAT, sizeof(ScenePoint), &path[0].X);
        glDrawArrays(GL_LINE_STRIP, 0, static_cast<GLsizei>(path.size()));
    }
}

void SurfaceChart::DrawPlan(const MarkerPlan& plan) {
    if (SphereQuadric != nullptr) DrawPlannedSpheres(plan);
    DrawPaintedPixels(plan, viewportWidth_, viewportHeight_);
    if (!plan.Segments.empty()) {
        glVertexPointer(3, GL_FLOAT, sizeof(ScenePoint), &plan.Segments[0].X);
        glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(plan.Segments.size()));
    }
}

void SurfaceChart::DrawMarkers(ChartModel& m, bool spiralMode) {
    const bool tuples = spiralMode || m.XAxisPresent() || m.YAxisPresent();

    const auto& run = m.RunColour();
    if (run) {
        glColor3ub((*run)[0], (*run)[1], (*run)[2]);
    } else {
        glColor3ub(kMarkerStyle.Colour[0], kMarkerStyle.Colour[1], kMarkerStyle.Colour[2]);
    }
    glDisableClientState(GL_COLOR_ARRAY);
    // The kept runs' paths after the current one's, each in its run's colour. They are planned
    // together, so that where paths overlap only the nearest sphere of a screen cell is drawn.
    paths_.assign(1, &m.SolutionScene(spiralMode));
    for (std::size_t k = 0; k < m.KeptPaths().size(); ++k) {
        paths_.push_back(&m.KeptScene(k, spiralMode));
    }
    if (!ExactMarkers) PlanMarkers(paths_, viewportWidth_, viewportHeight_, tuples);
    for (std::size_t k = 0; k < paths_.size(); ++k) {
        if (k > 0) {
            const auto& colour = m.KeptPaths()[k - 1].Colour;
            glColor3ub(colour[0], colour[1], colour[2]);
        }
        if (ExactMarkers) {
            DrawExactPath(*paths_[k], tuples);
        } else {
            DrawPlan(plans_[k]);
        }
    }
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(ChartVertex), &m.Vertices[0].X);

    // Without an axis the population has no place of its own.
    if (!tuples) return;
    if (run) {
        glColor3ub((*run)[0], (*run)[1], (*run)[2]);
    } else {
        glColor3ub(255, 255, 0);
    }
    DrawPoints(m.PopulationScene(spiralMode));
    // A race's other lanes' populations, each in its lane's colour.
    for (const ColouredPath& lane : m.LanePopulations()) {
        glColor3ub(lane.Colour[0], lane.Colour[1], lane.Colour[2]);
        DrawPoints(m.ScenePoints(lane.Points, spiralMode));
    }
}

void SurfaceChart::DrawPoints(const std::vector<ScenePoint>& points) {
    if (points.empty()) return;
    glBegin(GL_POINTS);
    for (const ScenePoint& p : points) glVertex3f(p.X, p.Y, p.Z);
    glEnd();
}

void SurfaceChart::DrawMark(const std::array<std::uint8_t, 3>& colour,
                            const std::array<ScenePoint, 6>& ends) {
    glDisableClientState(GL_COLOR_ARRAY);
    glDisable(GL_DEPTH_TEST);
    glLineWidth(3.0f);
    glColor3ub(colour[0], colour[1], colour[2]);
    glBegin(GL_LINES);
    for (const ScenePoint& e : ends) glVertex3f(e.X, e.Y, e.Z);
    glEnd();
    glLineWidth(1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnableClientState(GL_COLOR_ARRAY);
}

void SurfaceChart::DrawOptimum(const ChartModel& m) {
    const std::vector<ScenePoint> at = m.ScenePoints(m.OptimumPoint(), false);
    if (at.empty()) return;
    // A magenta needle through the box's whole height at the optimum's place, crossed at its
    // value: unlike the path's spheres and the population's points, and drawn last over the
    // surface and the axes, so that a minimum on the box's floor or under a fold still shows.
    const ScenePoint& p = at.front();
    const float arm = 0.1f;
    DrawMark({255, 0, 255}, {{{p.X, p.Y, m.AxisZBottom},
                              {p.X, p.Y, m.AxisZTop},
                              {p.X - arm, p.Y, p.Z},
                              {p.X + arm, p.Y, p.Z},
                              {p.X, p.Y - arm, p.Z},
                              {p.X, p.Y + arm, p.Z}}});
}

void SurfaceChart::DrawPicked(const ChartModel& m) {
    const std::vector<ScenePoint> at = m.ScenePoints(m.PickedPoint(), false);
    if (at.empty()) return;
    // A white cross on the surface with a short stem above it, over everything like the
    // optimum's needle, so the picked start shows whatever lies in front of it.
    const ScenePoint& p = at.front();
    const float arm = 0.06f;
    DrawMark({255, 255, 255}, {{{p.X - arm, p.Y - arm, p.Z},
                                {p.X + arm, p.Y + arm, p.Z},
                                {p.X - arm, p.Y + arm, p.Z},
                                {p.X + arm, p.Y - arm, p.Z},
                                {p.X, p.Y, p.Z},
                                {p.X, p.Y, p.Z + 3 * arm}}});
}

void SurfaceChart::DrawAxes(const ChartModel& m) {
    // The axes and whatever follows lie over the surface; the next frame enables the test again.
    glDisable(GL_DEPTH_TEST);
    const float zb = m.AxisZBottom;
    const float zt = m.AxisZTop;
    const float spanX = (m.AxisXEnd - m.AxisXStart) * 0.03f;
    const float spanY = (m.AxisYEnd - m.AxisYStart) * 0.03f;
    glBegin(GL_LINES);

    glColor4ub(255, 200, 200, 255);
    glVertex3f(m.AxisXStart, 0.0f, zb);
    glVertex3f(m.AxisXEnd, 0.0f, zb);
    const float ax = 0.95f * m.AxisXEnd + 0.05f * m.AxisXStart;
    glVertex3f(ax, spanY, zb);
    glVertex3f(m.AxisXEnd, 0.0f, zb);
    glVertex3f(ax, -spanY, zb);
    glVertex3f(m.AxisXEnd, 0.0f, zb);

    if (m.YMax != 0.0f || (m.YMin != 0.0f && m.XAxisPresent())) {
        glColor4ub(200, 255, 200, 255);
        glVertex3f(0.0f, m.AxisYStart, zb);
        glVertex3f(0.0f, m.AxisYEnd, zb);
        const float ay = 0.95f * m.AxisYEnd + 0.05f * m.AxisYStart;
        glVertex3f(spanX, ay, zb);
        glVertex3f(0.0f, m.AxisYEnd, zb);
        glVertex3f(-spanX, ay, zb);
        glVertex3f(0.0f, m.AxisYEnd, zb);
    }

    glColor4ub(200, 200, 255, 255);
    glVertex3f(0.0f, 0.0f, zb);
    glVertex3f(0.0f, 0.0f, zt);
    const float az = 0.95f * zt + 0.05f * zb;
    const bool y = m.YAxisPresent();
    glVertex3f(y ? 0.0f : spanX, y ? spanY : 0.0f, az);
    glVertex3f(0.0f, 0.0f, zt);
    glVertex3f(y ? 0.0f : -spanX, y ? -spanY : 0.0f, az);
    glVertex3f(0.0f, 0.0f, zt);

    glEnd();
}

void SurfaceChart::DrawLabels(const ChartModel& m) const {
    for (const ChartLabel& label : m.AxisLabels()) {
        glColor4ub(label.Red, label.Green, label.Blue, 255);
        DrawLabel(label.At.X, label.At.Y, label.At.Z, label.Text.c_str());
    }
}

void SurfaceChart::DrawLabel(float x, float y, float z, const char* text) const {
    if (FontListBase == 0) return;
    glRasterPos4f(x, y, z, 1.0f);
    glPushAttrib(GL_LIST_BIT);
    glListBase(FontListBase);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}

}  // namespace quarmel
