// Which spheres a frame draws for a marker path, and at which level of detail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>
#include <utility>

#include "chart/MarkerLayout.h"
#include "tests/chart/PaintedPixels.h"

using namespace quarmel;

namespace {

// Looking down -z from the origin through a 90-degree frustum (near 1, far 100) onto a 100 x 100
// viewport: a point (x, y, -d) lands at pixel (50 + 50 x / d, 50 + 50 y / d).
MarkerView Frustum() {
    MarkerView v;
    v.Modelview = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const double n = 1, f = 100;
    v.Projection = {
        1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -(f + n) / (f - n), -1, 0, 0, -2 * f * n / (f - n), 0};
    v.Viewport = {0, 0, 100, 100};
    return v;
}

std::vector<ScenePoint> All(const MarkerPlan& plan) {
    std::vector<ScenePoint> out = plan.Full;
    out.insert(out.end(), plan.Painted.begin(), plan.Painted.end());
    for (const auto& level : plan.ByLevel) out.insert(out.end(), level.begin(), level.end());
    return out;
}

// The painted pixels of a plan's image, at their centres.
std::vector<WindowPoint> Painted(const MarkerPlan& plan) {
    return quarmel::testing::PaintedPixels(plan.Pixels);
}

}  // namespace

TEST(MarkerLayout, KeepsTheNearestMarkerPerPixelAndDropsRepeats) {
    MarkerLayout layout;
    MarkerPlan plan;
    // Two markers on one pixel at depths 4 and 2 (the nearer one kept whatever the order), a
    // repeat, one on a pixel of its own, one off the viewport and one behind the eye.
    const std::vector<ScenePoint> path = {{0.4f, 0.4f, -4}, {0.2f, 0.2f, -2}, {0.2f, 0.2f, -2},
                                          {-2, -2, -4},     {40, 0, -4},      {0, 0, 3}};
    layout.Plan(path, Frustum(), plan);
    const std::vector<ScenePoint> drawn = All(plan);
    ASSERT_EQ(drawn.size(), 2u);
    int nearer = 0, own = 0;
    for (const ScenePoint& p : drawn) {
        nearer += p.Z == -2 ? 1 : 0;
        own += p.X == -2 ? 1 : 0;
    }
    EXPECT_EQ(nearer, 1);
    EXPECT_EQ(own, 1);

    // The buffers start clean for the next frame: the same path gives the same plan.
    layout.Plan(path, Frustum(), plan);
    EXPECT_EQ(plan.Count(), 2u);
}

TEST(MarkerLayout, LargerSpheresGetMoreSegmentsAndTheLargestAreDrawnInFull) {
    int previous = 0;
    for (double r = 0.5; r < 40; r *= 1.3) {
        const int level = MarkerLayout::LevelFor(r);
        ASSERT_GE(level, previous) << r;
        ASSERT_GE(level, 0) << r;
        // The outline of the level's polygon stays within the tolerance of the circle.
        EXPECT_LE(r * (1 - std::cos(3.14159265358979 / kMarkerStyle.LevelSlices[level])),
                  kOutlineTolerance);
        previous = level;
    }
    EXPECT_EQ(MarkerLayout::LevelFor(200), -1);

    // At distance 2 the sphere is 0.5 pixel across: painted. Right at the near plane it is
    // drawn in full. In a view 10 times as large, 9 pixels across at distance 1.1, it is
    // painted still: a perspective view paints spheres of any size.
    MarkerLayout layout;
    MarkerPlan plan;
    layout.Plan({{0, 0, -2}, {0.3f, 0, -1.01f}}, Frustum(), plan);
    EXPECT_EQ(plan.Painted.size(), 1u);
    EXPECT_EQ(plan.Full.size(), 1u);
    MarkerView large = Frustum();
    large.Viewport = {0, 0, 1000, 1000};
    layout.Plan({{0, 0, -1.1f}}, large, plan);
    EXPECT_EQ(plan.Painted.size(), 1u);
    // A parallel projection paints none: 10 pixels across, the sphere is a mesh of its level.
    MarkerView parallel = large;
    parallel.Projection = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2.0 / 99, 0, 0, 0, -101.0 / 99, 1};
    layout.Plan({{0, 0, -2}}, parallel, plan);
    EXPECT_EQ(plan.ByLevel[MarkerLayout::LevelFor(0.02 * 500)].size(), 1u);
    EXPECT_TRUE(plan.Painted.empty());
}

TEST(MarkerLayout, SegmentsWithAnEndNearOrBehindTheEyeAreLeftToTheLibrary) {
    MarkerLayout layout;
    MarkerPlan plan;
    const std::vector<ScenePoint> path = {
        {0, 0.01f, -4},     // pixel (50, 50)
        {0.4f, 0.01f, -4},  // (55, 50): painted from (50, 50)
        {0, 0, 3},          // behind the eye: both segments to it left
        {0.3f, 0, -4},      // (53.75, 50)
    };
    MarkerParts lineOnly;
    lineOnly.Spheres = false;
    layout.Plan(path, Frustum(), plan, lineOnly);
    ASSERT_EQ(plan.Segments.size(), 4u);
    EXPECT_EQ(plan.Segments[1].Z, 3.0f);
    EXPECT_EQ(plan.Segments[2].Z, 3.0f);
    EXPECT_EQ(plan.Count(), 0u);
    // Columns 50 to 54 of row 50; the end's pixel is the next segment's.
    ASSERT_EQ(Painted(plan).size(), 5u);
    for (const WindowPoint& w : Painted(plan)) {
        EXPECT_EQ(w.Y, 50.5f);
        EXPECT_GE(w.X, 50.5f);
        EXPECT_LE(w.X, 54.5f);
    }
}

TEST(MarkerLayout, TheLineLeavesOutVerticesOnThePixelOfTheOneKeptBefore) {
    // At depth 4 a scene x of 0.08 is one pixel. B lies on A's pixel (50, 50); A to B would
    // paint that pixel, A to C starts past its centre and does not.
    const ScenePoint a{0.076f, 0.004f, -4}, b{0.004f, 0.076f, -4}, c{0.84f, 0.2f, -4};
    MarkerParts lineOnly;
    lineOnly.Spheres = false;
    MarkerLayout layout;
    MarkerPlan thinned, direct;
    layout.Plan({a, b, c}, Frustum(), thinned, lineOnly);
    layout.Plan({a, c}, Frustum(), direct, lineOnly);
    auto pixels = [](const MarkerPlan& plan) {
        std::vector<std::pair<float, float>> out;
        for (const WindowPoint& w : Painted(plan)) out.emplace_back(w.X, w.Y);
        std::sort(out.begin(), out.end());
        return out;
    };
    EXPECT_EQ(pixels(thinned), pixels(direct));
    EXPECT_EQ(Painted(direct).size(), 9u);  // columns 51 to 59
    // The last vertex stays even on the pixel of the one before.
    layout.Plan({a, c, {0.85f, 0.21f, -4}}, Frustum(), thinned, lineOnly);
    EXPECT_EQ(pixels(thinned), pixels(direct));
    layout.Plan({a, b}, Frustum(), thinned, lineOnly);
    EXPECT_EQ(Painted(thinned).size(), 1u);
}

TEST(MarkerLayout, APathPlannedInSharesGivesWhatOneShareGives) {
    // Long random jumps, each to another pixel (so the thinning keeps every vertex), over
    // depths 2 to 10, with repeats: long enough for three shares.
    std::mt19937 random(3);
    std::uniform_real_distribution<float> pixel(-10.0f, 110.0f), depth(2.0f, 10.0f);
    std::vector<ScenePoint> path;
    float lastX = -100.0f;
    for (int i = 0; i < 160000; ++i) {
        float x = pixel(random);
        if (std::floor(x) == std::floor(lastX)) x += 2.0f;
        lastX = x;
        const float y = pixel(random), d = depth(random);
        path.push_back({(x - 50) / 50 * d, (y - 50) / 50 * d, -d});
        if (i % 9 == 0) path.push_back(path.back());
    }
    MarkerLayout one(1), three(3);
    MarkerPlan a, b;
    one.Plan(path, Frustum(), a);
    three.Plan(path, Frustum(), b);
    auto key = [](const ScenePoint& p) { return std::make_tuple(p.X, p.Y, p.Z); };
    auto sorted = [&](std::vector<ScenePoint> v) {
        std::sort(v.begin(), v.end(), [&](auto& l, auto& r) { return key(l) < key(r); });
        return v;
    };
    auto same = [&](const std::vector<ScenePoint>& l, const std::vector<ScenePoint>& r) {
        const auto sl = sorted(l), sr = sorted(r);
        return std::equal(sl.begin(), sl.end(), sr.begin(), sr.end(),
                          [&](auto& p, auto& q) { return key(p) == key(q); });
    };
    EXPECT_GT(a.Painted.size(), 5000u);
    EXPECT_TRUE(same(a.Painted, b.Painted));
    EXPECT_TRUE(same(All(a), All(b)));
    auto pixels = [](std::vector<WindowPoint> v) {
        std::vector<std::tuple<float, float, float>> out;
        for (const WindowPoint& w : v) out.emplace_back(w.X, w.Y, w.Z);
        std::sort(out.begin(), out.end());
        return out;
    };
    EXPECT_EQ(pixels(Painted(a)), pixels(Painted(b)));
    EXPECT_EQ(Painted(a).size(), 10000u);  // every pixel of the view
}

TEST(MarkerLayout, PathsPlannedTogetherKeepTheNearestCentreOfAPixelOverAllOfThem) {
    MarkerLayout layout(2);
    MarkerPlan first, second;
    // One marker each on pixel (52, 52), at depths 4 and 2: only the nearer is planned, in its
    // own path's plan, whichever path comes first.
    const std::vector<ScenePoint> far = {{0.2f, 0.2f, -4}}, near = {{0.1f, 0.1f, -2}};
    layout.Plan({&far, &near}, Frustum(), {&first, &second});
    EXPECT_TRUE(All(first).empty());
    EXPECT_TRUE(Painted(first).empty());
    ASSERT_EQ(All(second).size(), 1u);
    EXPECT_EQ(All(second)[0].Z, -2);
    EXPECT_FALSE(Painted(second).empty());
    layout.Plan({&near, &far}, Frustum(), {&first, &second});
    ASSERT_EQ(All(first).size(), 1u);
    EXPECT_EQ(All(first)[0].Z, -2);
    EXPECT_TRUE(All(second).empty());

    // Paths on pixels of their own, long enough to be painted in bands: each plan is what the
    // path gives alone.
    std::mt19937 random(5);
    std::uniform_real_distribution<float> pixel(0.0f, 45.0f), depth(2.0f, 10.0f);
    std::vector<ScenePoint> left, right;
    for (int i = 0; i < 3000; ++i) {
        const float d = depth(random), x = pixel(random), y = pixel(random) * 2;
        left.push_back({(x - 50) / 50 * d, (y - 50) / 50 * d, -d});
        right.push_back({(x + 5) / 50 * d, (y - 50) / 50 * d, -d});
    }
    auto pixels = [](const MarkerPlan& plan) {
        std::vector<std::tuple<float, float, float>> out;
        for (const WindowPoint& w : Painted(plan)) out.emplace_back(w.X, w.Y, w.Z);
        std::sort(out.begin(), out.end());
        return out;
    };
    auto centres = [](const MarkerPlan& plan) {
        std::vector<std::tuple<float, float, float>> out;
        for (const ScenePoint& p : All(plan)) out.emplace_back(p.X, p.Y, p.Z);
        std::sort(out.begin(), out.end());
        return out;
    };
    MarkerPlan leftAlone, rightAlone;
    layout.Plan({&left, &right}, Frustum(), {&first, &second});
    layout.Plan(left, Frustum(), leftAlone);
    layout.Plan(right, Frustum(), rightAlone);
    EXPECT_GT(leftAlone.Painted.size(), 500u);
    EXPECT_EQ(centres(first), centres(leftAlone));
    EXPECT_EQ(pixels(first), pixels(leftAlone));
    EXPECT_EQ(centres(second), centres(rightAlone));
    EXPECT_EQ(pixels(second), pixels(rightAlone));
}

TEST(MarkerLayout, SphereMeshIsClosedAndFacesOutwards) {
    const SphereMesh mesh = MakeSphereMesh(8, 4, 2.0f);
    ASSERT_EQ(mesh.Indices.size() % 3, 0u);
    double volume = 0;  // positive only when every triangle winds counter-clockwise outside
    for (std::size_t t = 0; t < mesh.Indices.size(); t += 3) {
        const float* a = &mesh.Positions[3 * mesh.Indices[t]];
        const float* b = &mesh.Positions[3 * mesh.Indices[t + 1]];
        const float* c = &mesh.Positions[3 * mesh.Indices[t + 2]];
        const double cross[3] = {b[1] * c[2] - b[2] * c[1], b[2] * c[0] - b[0] * c[2],
                                 b[0] * c[1] - b[1] * c[0]};
        const double v = a[0] * cross[0] + a[1] * cross[1] + a[2] * cross[2];
        EXPECT_GT(v, 0.0) << t;
        volume += v / 6;
    }
    // Between the inscribed octahedron-like polyhedron and the sphere of radius 2.
    EXPECT_GT(volume, 0.5 * 4.18879 * 8);
    EXPECT_LT(volume, 4.18879 * 8);
}
