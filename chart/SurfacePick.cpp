#include "chart/SurfacePick.h"

#include <cmath>

namespace quarmel {
namespace {

struct Vec {
    double X, Y, Z;
};
Vec operator-(const Vec& a, const Vec& b) {
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}
Vec Cross(const Vec& a, const Vec& b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
double Dot(const Vec& a, const Vec& b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}

// A point of eye space taken back to the scene: the frame's translation, tilt about X and turn
// about the height axis undone, in the reverse order.
Vec EyeToScene(Vec p, const Vec& shift, double tilt, double turn) {
    p = p - shift;
    const double ct = std::cos(-tilt), st = std::sin(-tilt);
    p = {p.X, ct * p.Y - st * p.Z, st * p.Y + ct * p.Z};
    const double cr = std::cos(-turn), sr = std::sin(-turn);
    return {cr * p.X - sr * p.Y, sr * p.X + cr * p.Y, p.Z};
}

// The ray's parameter where it meets the triangle (Moller and Trumbore), or a negative number.
double HitTriangle(const Vec& origin, const Vec& dir, const Vec& a, const Vec& b, const Vec& c) {
    const Vec e1 = b - a, e2 = c - a;
    const Vec p = Cross(dir, e2);
    const double det = Dot(e1, p);
    if (std::fabs(det) < 1e-14) return -1.0;
    const Vec s = origin - a;
    // A little beyond the edges, so that a ray through a vertex or along an edge, which
    // rounding may place just outside every triangle there, still meets one of them.
    constexpr double kEdge = 1e-9;
    const double u = Dot(s, p) / det;
    if (u < -kEdge || u > 1.0 + kEdge) return -1.0;
    const Vec q = Cross(s, e1);
    const double v = Dot(dir, q) / det;
    if (v < -kEdge || u + v > 1.0 + kEdge) return -1.0;
    return Dot(e2, q) / det;
}

Vec VertexAt(const ChartModel& m, int row, int column) {
    const ChartVertex& v = m.Vertices[row * kGridSide + column];
    return {v.X, v.Y, v.Z};
}

}  // namespace

std::optional<ScenePoint> PickSurface(const ChartModel& m, const ChartFrame& f, double ndcX,
                                      double ndcY) {
    if (f.WaveMode || f.SpiralMode || m.LineMode() || !m.YAxisPresent()) return std::nullopt;
    constexpr double kPi = 3.14159265358979323846;
    // glFrustum(-0.64, 0.64, -0.48, 0.48, 1, ...) and the modelview Render builds.
    const Vec shift{f.ShiftX * 0.001, f.ShiftY * 0.001 - m.AxisZBottom, -f.Distance * 0.001};
    const double tilt = f.TiltAngle * kPi / 180.0, turn = f.TurnAngle * kPi / 180.0;
    const Vec origin = EyeToScene({0.0, 0.0, 0.0}, shift, tilt, turn);
    const Vec through = EyeToScene({ndcX * 0.64, ndcY * 0.48, -1.0}, shift, tilt, turn);
    const Vec dir = through - origin;
    double nearest = -1.0;
    for (int i = 0; i + 1 < kGridSide; ++i) {
        for (int j = 0; j + 1 < kGridSide; ++j) {
            const Vec a = VertexAt(m, i, j), b = VertexAt(m, i, j + 1);
            const Vec c = VertexAt(m, i + 1, j + 1), d = VertexAt(m, i + 1, j);
            for (double t :
                 {HitTriangle(origin, dir, a, b, c), HitTriangle(origin, dir, a, c, d)}) {
                // In front of the near plane (the eye's distance 1 along the ray's first unit).
                if (t >= 1.0 && (nearest < 0.0 || t < nearest)) nearest = t;
            }
        }
    }
    if (nearest < 0.0) return std::nullopt;
    return ScenePoint{static_cast<float>(origin.X + nearest * dir.X),
                      static_cast<float>(origin.Y + nearest * dir.Y),
                      static_cast<float>(origin.Z + nearest * dir.Z)};
}

AxisValues ValuesAt(const ChartModel& m, const ScenePoint& p) {
    // MapAxis: scene = (|value - min| / (|max - min| / 100) - 50) * 0.02, the value on the
    // range's side of min.
    auto value = [](float scene, float min, float max) {
        return min + (max - min) * (scene / 0.02 + 50.0) * 0.01;
    };
    // MapSingle: scene = (f - half) / half.
    const double half = (static_cast<double>(m.ZMax) - m.ZMin) * 0.5;
    return {value(p.X, m.XMin, m.XMax), value(p.Y, m.YMin, m.YMax), p.Z * half + half};
}

}  // namespace quarmel
