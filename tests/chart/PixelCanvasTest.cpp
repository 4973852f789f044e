// The pixels a canvas paints for segments and spheres, against direct readings of the rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <utility>

#include "chart/PixelCanvas.h"
#include "support/GlMatrices.h"
#include "tests/chart/PaintedPixels.h"

using namespace quarmel;

namespace {

using Pixels = std::map<std::pair<int, int>, float>;

Pixels Collected(PixelCanvas& canvas) {
    DepthImage image;
    canvas.SizeImage(image);
    canvas.CollectRows(image, 0, std::numeric_limits<int>::max());
    canvas.EndCollect();
    Pixels out;
    for (const WindowPoint& p : quarmel::testing::PaintedPixels(image)) {
        out[{static_cast<int>(std::floor(p.X)), static_cast<int>(std::floor(p.Y))}] = p.Z;
    }
    return out;
}

// The line rule read literally: pixel (x, y) is produced when the segment meets the open
// diamond |px - x - 0.5| + |py - y - 0.5| < 0.5 and does not end inside it. The meeting is
// found by clipping the segment's parameter against the diamond's four sides.
bool LeavesDiamond(double ax, double ay, double bx, double by, int x, int y) {
    const double cx = x + 0.5, cy = y + 0.5;
    double lo = 0.0, hi = 1.0;
    for (int sx : {-1, 1}) {
        for (int sy : {-1, 1}) {
            // sx (px - cx) + sy (py - cy) < 0.5 along a + t (b - a).
            const double base = sx * (ax - cx) + sy * (ay - cy);
            const double slope = sx * (bx - ax) + sy * (by - ay);
            if (slope == 0.0) {
                if (!(base < 0.5)) return false;
            } else if (slope > 0) {
                hi = std::min(hi, (0.5 - base) / slope);
            } else {
                lo = std::max(lo, (0.5 - base) / slope);
            }
        }
    }
    const bool endInside = std::fabs(bx - cx) + std::fabs(by - cy) < 0.5;
    return lo < hi && !endInside;
}

}  // namespace

TEST(PixelCanvas, SegmentsCoverThePixelsWhoseDiamondTheyLeave) {
    constexpr int kW = 40, kH = 30;
    PixelCanvas canvas;
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(-6, kW + 6), y(-6, kH + 6), z(0.1, 0.9);
    for (int k = 0; k < 3000; ++k) {
        // Long and short segments, some reaching off the canvas.
        const double ax = x(random), ay = y(random);
        const double reach = k % 2 == 0 ? 3.0 : 60.0;
        std::uniform_real_distribution<double> d(-reach, reach);
        const double bx = ax + d(random), by = ay + d(random);
        const WindowPoint a{float(ax), float(ay), float(z(random))};
        const WindowPoint b{float(bx), float(by), float(z(random))};
        canvas.Begin(kW, kH, {});
        canvas.Segments({a, b});
        const Pixels got = Collected(canvas);
        int expected = 0;
        for (int py = 0; py < kH; ++py) {
            for (int px = 0; px < kW; ++px) {
                const bool want = LeavesDiamond(a.X, a.Y, b.X, b.Y, px, py);
                expected += want ? 1 : 0;
                ASSERT_EQ(got.count({px, py}) == 1, want)
                    << px << "," << py << " from " << a.X << "," << a.Y << " to " << b.X << ","
                    << b.Y;
            }
        }
        ASSERT_EQ(static_cast<int>(got.size()), expected);
        // The depth runs between the ends' depths.
        for (const auto& [pixel, depth] : got) {
            EXPECT_GE(depth, std::min(a.Z, b.Z));
            EXPECT_LE(depth, std::max(a.Z, b.Z));
        }
    }
}

// Ends exactly on a diamond's edge or a pixel's side, worked by hand. The rule moves both ends
// by a vanishing (-e, -e^2): an end on an edge's right-hand half is inside that diamond, one on
// its left-hand half or on a pixel's left or lower side is not, and a crossing exactly on a
// pixel boundary lies below it (left of it), except on a line rising to the right.
TEST(PixelCanvas, EndsOnADiamondsEdgeFollowTheMovedEnds) {
    using Set = std::set<std::pair<int, int>>;
    const struct {
        const char* name;
        float ax, ay, bx, by;
        Set pixels;
    } cases[] = {
        {"start on a right half", 2.75f, 0.75f, 5.5f, 0.75f, {{2, 0}, {3, 0}, {4, 0}}},
        {"start on a left half", 2.25f, 0.75f, 0.5f, 0.75f, {{1, 0}}},
        {"end on a right half", 0.5f, 0.75f, 2.75f, 0.75f, {{0, 0}, {1, 0}}},
        {"end on a left side", 0.5f, 0.5f, 3.0f, 0.5f, {{0, 0}, {1, 0}}},
        {"left from a bottom corner", 2.5f, 1.0f, 0.25f, 1.0f, {{0, 0}, {1, 0}}},
        {"up a column boundary", 2.0f, 0.5f, 2.0f, 3.5f, {{1, 0}, {1, 1}, {1, 2}}},
        {"steep, rising", 2.0f, 0.5f, 3.0f, 4.5f, {{1, 0}, {2, 1}, {2, 2}, {2, 3}}},
        {"falling diagonal", 2.75f, 3.75f, 5.75f, 0.75f, {{2, 3}, {3, 2}, {4, 1}}},
    };
    PixelCanvas canvas;
    for (const auto& c : cases) {
        canvas.Begin(8, 5, {});
        canvas.Segments({{c.ax, c.ay, 0.0f}, {c.bx, c.by, 0.0f}});
        Set got;
        for (const auto& [pixel, depth] : Collected(canvas)) got.insert(pixel);
        EXPECT_EQ(got, c.pixels) << c.name;
    }
}

TEST(PixelCanvas, KeepsTheNearestDepthPerPixelAndStartsEmpty) {
    PixelCanvas canvas;
    canvas.Begin(10, 10, {});
    canvas.Segments({{0.1f, 5.3f, 0.6f}, {9.9f, 5.3f, 0.6f}});
    canvas.Segments({{9.9f, 5.3f, 0.4f}, {0.1f, 5.3f, 0.4f}});  // nearer, the other way
    canvas.Segments({{0.1f, 5.3f, 0.8f}, {9.9f, 5.3f, 0.8f}});
    const Pixels once = Collected(canvas);
    ASSERT_EQ(once.size(), 10u);
    for (const auto& [pixel, depth] : once) EXPECT_FLOAT_EQ(depth, 0.4f) << pixel.first;
    EXPECT_TRUE(Collected(canvas).empty());
    canvas.Begin(10, 10, {});
    canvas.Segments({{0.1f, 2.3f, 0.7f}, {9.9f, 2.3f, 0.7f}});
    for (const auto& [pixel, depth] : Collected(canvas)) EXPECT_FLOAT_EQ(depth, 0.7f);
}

TEST(PixelCanvas, SpheresCoverThePixelsWhoseRaySeesThemAtTheirFrontSurface) {
    // An off-centre 4:3 frustum (left -0.5, right 0.8, bottom -0.48, top 0.48, near 1, far 100)
    // on a viewport that stretches it.
    const double l = -0.5, r = 0.8, b = -0.48, t = 0.48, n = 1, f = 100;
    const int w = 130, h = 90;
    const std::array<double, 16> projection = FrustumMatrix(l, r, b, t, n, f);
    PixelCanvas canvas;
    canvas.Begin(w, h, projection);
    ASSERT_TRUE(canvas.PaintsSpheres());
    for (const std::array<double, 3> c :
         {std::array<double, 3>{0.3, -0.2, -3.0}, std::array<double, 3>{-0.9, 0.7, -2.2}}) {
        const double radius = 0.12;
        canvas.Sphere(c, radius, radius * 2 * n / (r - l) * w / 2 / -c[2] * 1.2);
        const Pixels got = Collected(canvas);
        int expected = 0;
        for (int py = 0; py < h; ++py) {
            for (int px = 0; px < w; ++px) {
                // The eye ray through the pixel's centre, with z = -1.
                const double nx = 2.0 * (px + 0.5) / w - 1, ny = 2.0 * (py + 0.5) / h - 1;
                const double d[3] = {((r - l) * nx + (r + l)) / (2 * n),
                                     ((t - b) * ny + (t + b)) / (2 * n), -1.0};
                const double dd = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
                const double cd = d[0] * c[0] + d[1] * c[1] + d[2] * c[2];
                const double cc = c[0] * c[0] + c[1] * c[1] + c[2] * c[2];
                const double disc = cd * cd - dd * (cc - radius * radius);
                const auto it = got.find({px, py});
                if (disc <= 0) {
                    EXPECT_TRUE(it == got.end()) << px << "," << py;
                    continue;
                }
                ++expected;
                ASSERT_TRUE(it != got.end()) << px << "," << py;
                const double ze = (cd - std::sqrt(disc)) / dd * d[2];
                const double window = 0.5 + 0.5 * ((f + n) / (f - n) + 2 * f * n / (f - n) / ze);
                EXPECT_NEAR(it->second, window, 1e-7);
            }
        }
        EXPECT_EQ(static_cast<int>(got.size()), expected);
        EXPECT_GT(expected, 15);
    }
}

TEST(PixelCanvas, SpheresAndSegmentsPassedOverAsHiddenLeaveThePictureAsPaintingThemGives) {
    // A symmetric frustum (near 1, far 100) on 120 x 120 pixels. Behind a large sphere lie one
    // sphere it hides entirely, one it hides in part and one beside it; the canvas, in
    // its bands of rows or whole, must give what painting far to near gives, where nothing is
    // ever hidden when it is painted.
    const double n = 1, f = 100;
    const std::array<double, 16> projection = {
        1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -(f + n) / (f - n), -1, 0, 0, -2 * f * n / (f - n), 0};
    const int size = 120;
    struct Ball {
        std::array<double, 3> centre;
        double radius;
    };
    const Ball balls[] = {{{0.0, 0.0, -3.0}, 0.8},     // near: about 32 pixels across
                          {{0.05, -0.05, -4.0}, 0.4},  // entirely behind it
                          {{0.9, 0.1, -4.0}, 0.4},     // in part behind it
                          {{-1.6, 1.6, -4.0}, 0.4}};   // beside it
    // Segments painted after the spheres are passed over in the same way: one behind the near
    // sphere, one leaving from behind it, one
    // coming out through its front and one before it.
    auto depth = [&](double d) {
        return static_cast<float>(0.5 + 0.5 * ((f + n) / (f - n) - 2 * f * n / ((f - n) * d)));
    };
    const WindowPoint lines[][2] = {{{55, 55, depth(5)}, {65, 62, depth(5)}},
                                    {{60, 58, depth(5)}, {95, 70, depth(3.5)}},
                                    {{52, 60, depth(5)}, {68, 61, depth(1.8)}},
                                    {{50, 50, depth(1.5)}, {70, 52, depth(1.5)}}};
    PixelCanvas canvas;  // one for all, as a frame's: nothing of one picture hides the next's
    auto paint = [&](const std::vector<int>& order, int bands) {
        canvas.Begin(size, size, projection);
        for (int band = 0; band < bands; ++band) {
            const int from = size * band / bands, to = size * (band + 1) / bands - 1;
            // Far to near, the line goes first; otherwise after the spheres.
            for (int pass = 0; pass < 2; ++pass) {
                if ((pass == 0) == (order[0] == 3)) {
                    for (const auto& l : lines) canvas.Segments({l[0], l[1]}, from, to);
                    continue;
                }
                for (int k : order) {
                    const Ball& s = balls[k];
                    canvas.Sphere(s.centre, s.radius, s.radius * size / 2 / -s.centre[2] * 1.2,
                                  from, to);
                }
            }
        }
        return Collected(canvas);
    };
    canvas.Begin(size, size, projection);
    canvas.Sphere({0.0, 0.0, -10.0}, 8.5, 62);  // over the whole view, nearer than all
    EXPECT_EQ(Collected(canvas).size(), static_cast<std::size_t>(size * size));
    const Pixels farToNear = paint({3, 2, 1, 0}, 1);
    EXPECT_GT(farToNear.size(), 900u);
    EXPECT_EQ(paint({0, 1, 2, 3}, 1), farToNear);
    EXPECT_EQ(paint({0, 2, 1, 3}, 2), farToNear);
    EXPECT_EQ(paint({1, 0, 3, 2}, 3), farToNear);

    // Bands of spheres painted in canvases of their own and taken over, then the line found in
    // two parts against them and painted: the same picture.
    PixelCanvas upper;
    canvas.Begin(size, size, projection);
    upper.Begin(size, size, projection);
    for (const Ball& s : balls) {
        const double bound = s.radius * size / 2 / -s.centre[2] * 1.2;
        canvas.Sphere(s.centre, s.radius, bound, 0, 59);
        upper.Sphere(s.centre, s.radius, bound, 60, size - 1);
    }
    canvas.Absorb(upper);
    canvas.Settle();
    LinePixels firstPart, secondPart;
    canvas.SegmentPixels(&lines[0][0], 4, firstPart);
    canvas.SegmentPixels(&lines[2][0], 4, secondPart);
    canvas.Paint(firstPart);
    canvas.Paint(secondPart);
    EXPECT_EQ(Collected(canvas), farToNear);
}

TEST(PixelCanvas, ALongLineTestedAgainstSpheresInEightsGivesThePictureOfPaintingItFirst) {
    // Hundreds of segments of all lengths in front of, through and behind two spheres: those
    // passed over eight at a time as hidden must be those that would have changed nothing.
    const double n = 1, f = 100;
    const std::array<double, 16> projection = {
        1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -(f + n) / (f - n), -1, 0, 0, -2 * f * n / (f - n), 0};
    const int size = 160;
    auto depth = [&](double d) {
        return static_cast<float>(0.5 + 0.5 * ((f + n) / (f - n) - 2 * f * n / ((f - n) * d)));
    };
    std::mt19937 random(11);
    std::uniform_real_distribution<float> at(-10.0f, size + 10.0f), step(-70.0f, 70.0f),
        distance(1.5f, 6.0f);
    std::vector<WindowPoint> lines;
    for (int k = 0; k < 600; ++k) {
        // Most short, as a long path's, some crossing half the view.
        const float x = at(random), y = at(random), scale = k % 5 == 0 ? 1.0f : 0.1f;
        lines.push_back({x, y, depth(distance(random))});
        lines.push_back(
            {x + scale * step(random), y + scale * step(random), depth(distance(random))});
    }
    auto spheres = [&](PixelCanvas& canvas) {
        canvas.Sphere({0.1, 0.0, -3.0}, 1.0, 40);
        canvas.Sphere({-0.6, 0.5, -4.0}, 0.7, 20);
    };
    PixelCanvas canvas;
    canvas.Begin(size, size, projection);
    canvas.Segments(lines);
    spheres(canvas);
    const Pixels lineFirst = Collected(canvas);

    canvas.Begin(size, size, projection);
    spheres(canvas);
    canvas.Settle();
    LinePixels shown;
    canvas.SegmentPixels(lines.data(), lines.size(), shown);
    canvas.Paint(shown);
    EXPECT_EQ(Collected(canvas), lineFirst);
    EXPECT_GT(lineFirst.size(), 3000u);
}

TEST(PixelCanvas, PaintedPixelsGoToTheImageOfTheNearestOwner) {
    // Spheres of three owners over one another, each painted in two bands of rows on canvases
    // of their own, one taken over by the other: each owner's image holds just the pixels
    // where its sphere is the nearest, at the depth its sphere alone gives there.
    const double n = 1, f = 100;
    const std::array<double, 16> projection = {
        1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -(f + n) / (f - n), -1, 0, 0, -2 * f * n / (f - n), 0};
    const int size = 120;
    const std::array<double, 3> centres[] = {{0.3, 0.0, -4.0}, {0.0, 0.0, -3.0}, {-1.6, 1.6, -4.0}};
    const double radius = 0.6;
    auto paint = [&](PixelCanvas& canvas, std::size_t k, int from, int to) {
        canvas.Sphere(centres[k], radius, radius * size / 2 / -centres[k][2] * 1.2, from, to);
    };
    std::vector<Pixels> alone;
    PixelCanvas canvas, lower;
    for (std::size_t k = 0; k < 3; ++k) {
        canvas.Begin(size, size, projection);
        paint(canvas, k, 0, size - 1);
        alone.push_back(Collected(canvas));
    }
    canvas.Begin(size, size, projection);
    lower.Begin(size, size, projection);
    for (std::size_t k = 0; k < 3; ++k) {
        canvas.SetOwner(static_cast<std::uint16_t>(k));
        lower.SetOwner(static_cast<std::uint16_t>(k));
        paint(lower, k, 0, 59);
        paint(canvas, k, 60, size - 1);
    }
    canvas.Absorb(lower);
    std::vector<DepthImage> images(3);
    std::vector<DepthImage*> out;
    for (std::size_t k = 0; k < 3; ++k) {
        canvas.SizeOwnedImage(static_cast<std::uint16_t>(k), images[k]);
        out.push_back(&images[k]);
    }
    canvas.CollectOwnedRows(out, 60, size - 1);
    canvas.CollectOwnedRows(out, 0, 59);
    canvas.EndCollect();
    std::size_t expected = 0, overlapping = 0;
    std::set<std::pair<int, int>> all;
    for (const Pixels& picture : alone) {
        for (const auto& entry : picture) all.insert(entry.first);
    }
    for (const auto& at : all) {
        std::size_t nearest = 3;
        for (std::size_t k = 0; k < 3; ++k) {
            const auto it = alone[k].find(at);
            if (it != alone[k].end() && (nearest == 3 || it->second < alone[nearest].at(at)))
                nearest = k;
        }
        ++expected;
        std::size_t spheres = 0;
        for (const Pixels& picture : alone) spheres += picture.count(at);
        overlapping += spheres > 1 ? 1 : 0;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::vector<WindowPoint> pixels = quarmel::testing::PaintedPixels(images[k]);
            const bool has = std::any_of(pixels.begin(), pixels.end(), [&](const WindowPoint& p) {
                return static_cast<int>(p.X) == at.first && static_cast<int>(p.Y) == at.second &&
                       p.Z == alone[k].at(at);
            });
            EXPECT_EQ(has, k == nearest) << at.first << "," << at.second << " owner " << k;
        }
    }
    EXPECT_GT(expected, 700u);
    EXPECT_GT(overlapping, 100u);
    std::size_t owned = 0;
    for (const DepthImage& image : images) owned += quarmel::testing::PaintedPixels(image).size();
    EXPECT_EQ(owned, expected);
    EXPECT_EQ(Collected(canvas).size(), 0u);  // collecting left the canvas empty
}
