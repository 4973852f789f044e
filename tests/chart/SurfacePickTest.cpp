#include "chart/SurfacePick.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

#include "chart/Sampling.h"
#include "support/GlMatrices.h"

namespace quarmel {
namespace {

using Matrix = std::array<double, 16>;  // column-major, as the graphics library keeps it

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) r[c * 4 + row] += a[k * 4 + row] * b[c * 4 + k];
    return r;
}

// The matrices of glFrustum, glTranslatef and glRotatef as their manual pages give them.
Matrix Frustum(double l, double r, double b, double t, double n, double f) {
    return FrustumMatrix(l, r, b, t, n, f);
}
Matrix Translate(double x, double y, double z) {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
}
Matrix RotateX(double degrees) {
    const double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a);
    return {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
}
Matrix RotateZ(double degrees) {
    const double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a);
    return {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

// Where a scene point falls in normalised device coordinates in a frame's view, and its
// distance in front of the eye.
std::array<double, 3> Project(const ChartModel& m, const ChartFrame& f, const ScenePoint& p) {
    Matrix all = Multiply(
        Frustum(-0.64, 0.64, -0.48, 0.48, 1.0, 15000.0),
        Translate(f.ShiftX * 0.001, f.ShiftY * 0.001 - m.AxisZBottom, -f.Distance * 0.001));
    all = Multiply(Multiply(all, RotateX(f.TiltAngle)), RotateZ(f.TurnAngle));
    double clip[4] = {};
    const double v[4] = {p.X, p.Y, p.Z, 1.0};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k) clip[row] += all[k * 4 + row] * v[k];
    return {clip[0] / clip[3], clip[1] / clip[3], clip[3]};
}

double Surface(double x, double y) {
    return x * x + 3 * std::sin(2 * y) + 20;
}

class SurfacePick : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(parser.Parse("x*x + 3*sin(2*y) + 20", "x,y", false), -1);
        const std::vector<VariableSpec> variables = {{"x", -5, 5, 0}, {"y", -4, 4, 0}};
        const SurfaceSampling s = SampleOverXY(parser, variables, 0, 1, -5, 5, -4, 4);
        model->SetSurface(s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax, s.HeightMin,
                          s.HeightMax, s.Samples);
    }
    FunctionParser parser;
    std::unique_ptr<ChartModel> model = std::make_unique<ChartModel>();
};

// At several views, a click on the surface finds a point that projects back onto the click, no
// farther than the point clicked, and whose height is the function's at its values (within the
// sampling's linear pieces).
TEST_F(SurfacePick, ThePickedPointLiesOnTheSurfaceUnderTheClick) {
    ChartFrame side;  // the start-up view, from the side
    ChartFrame turned;
    turned.TiltAngle = -55;
    turned.TurnAngle = 140;
    ChartFrame near;
    near.TiltAngle = -30;
    near.TurnAngle = -20;
    near.Distance = 2500;
    near.ShiftX = 300;
    near.ShiftY = -200;
    const double half = (model->ZMax - model->ZMin) / 2;
    for (const ChartFrame& f : {side, turned, near}) {
        // Clicks where vertices of the grid fall: on the surface, though maybe behind a fold.
        for (const auto& [row, column] : {std::pair{50, 50}, {20, 70}, {80, 10}, {65, 35}}) {
            const ChartVertex& v = model->Vertices[row * kGridSide + column];
            const std::array<double, 3> click = Project(*model, f, {v.X, v.Y, v.Z});
            const std::optional<ScenePoint> p = PickSurface(*model, f, click[0], click[1]);
            ASSERT_TRUE(p) << row << ", " << column;
            const std::array<double, 3> back = Project(*model, f, *p);
            EXPECT_NEAR(back[0], click[0], 1e-4);
            EXPECT_NEAR(back[1], click[1], 1e-4);
            EXPECT_LE(back[2], click[2] + 1e-4);  // the vertex, or a fold in front of it
            const AxisValues at = ValuesAt(*model, *p);
            EXPECT_NEAR(p->Z, (Surface(at.X, at.Y) - half) / half, 2e-3) << at.X << ", " << at.Y;
        }
    }
    // The sky above the surface in the side view.
    EXPECT_FALSE(PickSurface(*model, side, 0.0, 0.95));
}

// On a range typed the wrong way round, a value maps to the scene and back.
TEST_F(SurfacePick, ValuesUndoTheMarkersPlacingOnAnInvertedRange) {
    model->SetSurface(5, -5, -4, 4, 0, 50, std::vector<float>(kGridVertices, 1.0f));
    EXPECT_NEAR(ValuesAt(*model, model->MapTriple(2.0f, 1.0f, 0.0f)).X, 2.0, 1e-5);
}

}  // namespace
}  // namespace quarmel
