// Markers projected a block at a time give, on any processor, the bits of one marker at a time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "chart/MarkerProjection.h"

using namespace quarmel;

namespace {

template <typename T>
bool SameBits(T a, T b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// A 90-degree frustum (near 1, far 100) looking down -z onto a 100 x 80 viewport, cells of 2
// pixels.
struct View {
    std::vector<double> Clip = {1, 0, 0,           0,  0, 1, 0,           0,
                                0, 0, -101.0 / 99, -1, 0, 0, -200.0 / 99, 0};
    Projection Of() const { return {Clip.data(), 100, 80, 50, 40, 0.05f, 50, 1, 1, 13}; }
};

// Random markers before, around and behind the eye, with repeats, near-repeats, far-off and
// unusable ones, and spheres just off the viewport and just on it.
std::vector<ScenePoint> Markers(std::size_t n) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> side(-3, 3), depth(-120, 2);
    std::vector<ScenePoint> points;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    while (points.size() < n) {
        switch (points.size() % 9) {
            case 1:
                points.push_back({-5.02f, side(random), -5});
                break;  // just off the left edge
            case 2:
                points.push_back({5.02f, side(random), -5});  // just off the right edge
                break;
            case 3:
                points.push_back(points.back());
                break;
            case 4:
                points.push_back({points.back().X, points.back().Y, -7});
                break;
            case 5:
                points.push_back({1e9f, side(random), -5});
                break;
            case 7:
                points.push_back({side(random), nan, -5});
                break;
            case 8:
                points.push_back({-4.85f, side(random), -5});  // in the first columns
                break;
            default:
                points.push_back({side(random), side(random), depth(random)});
        }
    }
    return points;
}

TEST(MarkerProjection, BlocksGiveTheBitsOfOneMarkerAtATime) {
    const View view;
    const Projection v = view.Of();
    const double* m = view.Clip.data();
    for (std::size_t count : {kBlockMarkers, std::size_t{10}, std::size_t{0}}) {
        const std::vector<ScenePoint> points = Markers(count + 1);
        ProjectedBlock block;
        ProjectMarkers(points.data(), count, v, block);
        for (std::size_t e = 0; e <= count; ++e) {
            SCOPED_TRACE(testing::Message() << count << " markers, entry " << e);
            const ScenePoint& p = points[e];
            const double x = p.X, y = p.Y, z = p.Z;
            const double w = m[3] * x + m[7] * y + m[11] * z + m[15];
            const double sx = ((m[0] * x + m[4] * y + m[8] * z + m[12]) * (1.0 / w) + 1.0) * 50;
            const double sy = ((m[1] * x + m[5] * y + m[9] * z + m[13]) * (1.0 / w) + 1.0) * 40;
            const double sz = 0.5 * (m[2] * x + m[6] * y + m[10] * z + m[14]) * (1.0 / w) + 0.5;
            EXPECT_TRUE(SameBits(block.X[e], sx) && SameBits(block.Y[e], sy));
            EXPECT_TRUE(SameBits(block.W[e], w) && SameBits(block.InverseW[e], 1.0 / w));
            EXPECT_TRUE(SameBits(block.AtZ[e], static_cast<float>(sz)));
            const bool useful =
                w > 0 && sz >= 0 && sz <= 1 && std::fabs(sx) < 1e7 && std::fabs(sy) < 1e7;
            EXPECT_EQ(block.OnScreen[e] != 0, useful);
            if (useful) {
                EXPECT_EQ(block.PixelX[e], static_cast<int>(std::floor(sx)));
                EXPECT_EQ(block.AtPixelY[e], static_cast<int>(std::floor(static_cast<float>(sy))));
            }
            // The sphere (radius 0.05, 50 / w pixels per unit): cells of 2 pixels, 13 tiles of
            // 4 x 4 cells to a row.
            SphereKind kind = SphereKind::None;
            const double r = 0.05f * 50.0 / w;
            if (!std::isfinite(w) || w + 0.05f <= 1) {
            } else if (!(w > 1 + 0.05f)) {
                kind = SphereKind::Full;
            } else if (sx > -r - 1 && sx < 100 + r + 1 && sy > -r - 1 && sy < 80 + r + 1) {
                kind = sx >= 0 && sx < 100 && sy >= 0 && sy < 80 ? SphereKind::InCell
                                                                 : SphereKind::Alone;
            }
            EXPECT_EQ(block.Kind[e], kind);
            if (kind == SphereKind::InCell) {
                const int cx = static_cast<int>(sx) / 2, cy = static_cast<int>(sy) / 2;
                EXPECT_EQ(block.Cell[e], ((cy / 4 * 13 + cx / 4) * 16) + (cy % 4) * 4 + cx % 4);
            }
            if (e == 0) continue;
            const ScenePoint& q = points[e - 1];
            EXPECT_EQ(block.Repeat[e] != 0,
                      SameBits(p.X, q.X) && SameBits(p.Y, q.Y) && SameBits(p.Z, q.Z));
            WindowPoint from, to;
            const bool cut =
                CutSegment(q, p, {block.AtX[e - 1], block.AtY[e - 1], block.AtZ[e - 1]},
                           {block.AtX[e], block.AtY[e], block.AtZ[e]}, 0.05f, from, to);
            EXPECT_EQ(block.Long[e] != 0, cut);
            if (cut) {
                EXPECT_TRUE(SameBits(block.FromX[e], from.X) && SameBits(block.FromZ[e], from.Z));
                EXPECT_TRUE(SameBits(block.ToY[e], to.Y) && SameBits(block.ToZ[e], to.Z));
            }
        }
    }
}

// A cut keeps what lies outside both end spheres: a segment of length 1 between spheres of
// radius 0.1 keeps its middle 0.8, on screen as in the scene when both ends lie at one depth.
TEST(MarkerProjection, CutSegmentLeavesOutTheEndSpheres) {
    WindowPoint from, to;
    ASSERT_TRUE(CutSegment({0, 0, 0}, {1, 0, 0}, {10, 20, 0.5f}, {110, 20, 0.5f}, 0.1f, from, to));
    EXPECT_FLOAT_EQ(from.X, 20);
    EXPECT_FLOAT_EQ(to.X, 100);
    EXPECT_FLOAT_EQ(from.Y, 20);
    EXPECT_FALSE(
        CutSegment({0, 0, 0}, {0.2f, 0, 0}, {10, 20, 0.5f}, {30, 20, 0.5f}, 0.1f, from, to));
}

}  // namespace
