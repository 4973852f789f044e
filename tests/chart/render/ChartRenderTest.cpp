// Renders the chart into an offscreen framebuffer and checks regions of the picture by colour
// class. Positions come from projecting scene points with the view worked out here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "chart/ChartModel.h"
#include "chart/Sampling.h"
#include "chart/SurfaceChart.h"
#include "model/Problem.h"
#include "tests/chart/render/OffscreenGl.h"

using namespace quarmel;
using quarmel::testing::OffscreenGl;

namespace {

constexpr int kWidth = 654;
constexpr int kHeight = 632;
constexpr double kPi = 3.14159265358979323846;

using ColourTest = std::function<bool(QRgb)>;

ColourTest Near(int r, int g, int b, int tol = 12) {
    return [=](QRgb c) {
        return std::abs(qRed(c) - r) <= tol && std::abs(qGreen(c) - g) <= tol &&
               std::abs(qBlue(c) - b) <= tol;
    };
}

const ColourTest kBackground = Near(0, 0, 51, 2);
const ColourTest kMarkerBlue = Near(0, 0, 255, 3);
const ColourTest kPopulation = Near(255, 255, 0, 3);
const ColourTest kAxisX = Near(255, 200, 200, 3);
const ColourTest kAxisY = Near(200, 255, 200, 3);
const ColourTest kAxisZ = Near(200, 200, 255, 3);

int Count(const QImage& img, const ColourTest& test) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) n += test(img.pixel(x, y)) ? 1 : 0;
    }
    return n;
}

// Pixels matching in the rectangle [x0, x1] x [y0, y1] (clipped to the picture).
int CountIn(const QImage& img, int x0, int y0, int x1, int y1, const ColourTest& test) {
    int n = 0;
    for (int y = std::max(0, y0); y <= std::min(img.height() - 1, y1); ++y) {
        for (int x = std::max(0, x0); x <= std::min(img.width() - 1, x1); ++x) {
            n += test(img.pixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

int CountAround(const QImage& img, QPoint p, int radius, const ColourTest& test) {
    return CountIn(img, p.x() - radius, p.y() - radius, p.x() + radius, p.y() + radius, test);
}

// Where a scene point lands: turn about the height axis, tilt about X, shift, then the 4:3
// frustum of near plane 1; rows counted from the top.
QPoint Project(ScenePoint p, const ChartFrame& f, float axisZBottom) {
    const double t = f.TurnAngle * kPi / 180.0;
    const double x1 = p.X * std::cos(t) - p.Y * std::sin(t);
    const double y1 = p.X * std::sin(t) + p.Y * std::cos(t);
    const double a = f.TiltAngle * kPi / 180.0;
    const double y2 = y1 * std::cos(a) - p.Z * std::sin(a);
    const double z2 = y1 * std::sin(a) + p.Z * std::cos(a);
    const double bottom = f.WaveMode ? 0.0 : axisZBottom;
    const double ex = x1 + f.ShiftX * 0.001;
    const double ey = y2 + f.ShiftY * 0.001 - bottom;
    const double ez = z2 - f.Distance * 0.001;
    const double nx = ex / -ez / 0.64;
    const double ny = ey / -ez / 0.48;
    return QPoint(static_cast<int>(std::floor((nx + 1) * 0.5 * kWidth)),
                  static_cast<int>(std::floor(kHeight - (ny + 1) * 0.5 * kHeight)));
}

class ChartRender : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (OffscreenGl::DisplayAvailable()) gl = new OffscreenGl(kWidth, kHeight);
    }

    void SetUp() override {
        if (!OffscreenGl::DisplayAvailable()) GTEST_SKIP() << "no X display";
        ASSERT_TRUE(gl->Ok()) << "no OpenGL context with a framebuffer";
        chart = std::make_unique<ChartModel>();
        renderer = std::make_unique<SurfaceChart>();
        renderer->AttachContext(OffscreenGl::SolidGlyphs());
        // The first frame lays out the grid; the data given after it stays.
        renderer->Render(*chart, 0, 0, kWidth, kHeight, ChartFrame{});
    }

    void TearDown() override {
        if (renderer) renderer->DetachContext();
    }

    // The start-up problem x^2 + (y - 2)^2 + 3c over x and y, c at 5, as the window samples it.
    void SetDefaultProblem(std::vector<float> solutions = {}, std::vector<float> population = {}) {
        FunctionParser parser;
        AddSpiral(parser);
        ASSERT_EQ(parser.Parse("x^2+(y-2)^2+3*c", "x,y,c", false), -1);
        const std::vector<VariableSpec> vars = {
            {"x", -50, 50, 0}, {"y", -40, 40, 6}, {"c", 1, 15, 5}};
        SurfaceSampling s = SampleOverXY(parser, vars, 0, 1, -50, 50, -40, 40);
        chart->SetData(s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax, s.HeightMin,
                       s.HeightMax, s.Samples, std::move(solutions), std::move(population));
    }

    QImage Draw(const ChartFrame& f) {
        renderer->Render(*chart, 0, 0, kWidth, kHeight, f);
        return gl->Read();
    }

    QPoint At(ScenePoint p, const ChartFrame& f) const { return Project(p, f, chart->AxisZBottom); }

    // Looking straight down on the grid, centred.
    static ChartFrame TopView() {
        ChartFrame f;
        f.TiltAngle = 0;
        f.ShiftX = 0;
        f.ShiftY = -1000;  // cancels the height correction of a range whose bottom is at -1
        f.ShowAxes = false;
        return f;
    }

    static OffscreenGl* gl;
    std::unique_ptr<ChartModel> chart;
    std::unique_ptr<SurfaceChart> renderer;
};

OffscreenGl* ChartRender::gl = nullptr;

TEST_F(ChartRender, TheBackgroundIsDarkBlue) {
    SetDefaultProblem();
    const QImage img = Draw(ChartFrame{});
    for (QPoint p : {QPoint(0, 0), QPoint(kWidth - 1, 0), QPoint(0, kHeight - 1),
                     QPoint(kWidth - 1, kHeight - 1), QPoint(kWidth / 2, 5)}) {
        EXPECT_TRUE(kBackground(img.pixel(p))) << p.x() << "," << p.y();
    }
}

TEST_F(ChartRender, TheDefaultSurfaceShowsItsRampColours) {
    SetDefaultProblem();
    const ChartFrame f = TopView();
    const QImage img = Draw(f);
    auto vertex = [&](int column, int row) {
        const ChartVertex& v = chart->Vertices[row * 100 + column];
        return At({v.X, v.Y, v.Z}, f);
    };
    // Near the minimum (x = 0, y = 1.6): mid green.
    const ColourTest green = [](QRgb c) {
        return qRed(c) < 25 && qGreen(c) > 100 && qGreen(c) < 155 && qBlue(c) < 25;
    };
    EXPECT_GE(CountAround(img, vertex(50, 52), 1, green), 5);
    // Near a corner (x = -48, y = -38.4), close to the maximum: red.
    const ColourTest red = [](QRgb c) { return qRed(c) > 230 && qGreen(c) < 40 && qBlue(c) < 25; };
    EXPECT_GE(CountAround(img, vertex(2, 2), 1, red), 5);
    // Half way up (x = 46, y = 1.6): yellow-orange.
    const ColourTest yellow = [](QRgb c) {
        return qRed(c) > 200 && qGreen(c) > 140 && qGreen(c) < 220 && qBlue(c) < 25;
    };
    EXPECT_GE(CountAround(img, vertex(96, 52), 1, yellow), 5);
    // None of the flat grid's blue is left.
    EXPECT_EQ(Count(img, Near(0, 0, 255, 20)), 0);
}

TEST_F(ChartRender, ASolutionIsABlueSphereAtItsProjectedPosition) {
    // x = 25, y = 2, f = 4000: above the surface, clear of the height axis.
    SetDefaultProblem({25, 2, 4000});
    ChartFrame f;
    const QPoint p = At(chart->MapTriple(25, 2, 4000), f);
    QImage img = Draw(f);
    EXPECT_GE(CountAround(img, p, 1, kMarkerBlue), 8) << p.x() << "," << p.y();
    // A sphere of radius 0.02 at distance 4 is about 5 pixels across, not more.
    EXPECT_EQ(CountIn(img, p.x() + 6, p.y() - 2, p.x() + 12, p.y() + 2, kMarkerBlue), 0);

    f.ShowSolution = false;
    img = Draw(f);
    EXPECT_EQ(CountAround(img, p, 3, kMarkerBlue), 0);
}

// The known optimum: a magenta needle over the surface, with or without the path; else none.
TEST_F(ChartRender, TheKnownOptimumIsAMagentaNeedleOverTheSurface) {
    SetDefaultProblem();
    ChartFrame f;
    f.ShowSolution = false;
    const ColourTest magenta = Near(255, 0, 255, 40);
    EXPECT_EQ(Count(Draw(f), magenta), 0);
    // x = 25, y = 2, f = 4000: the foot on the box's floor is under the surface, and shows.
    chart->SetOptimumPoint({25, 2, 4000});
    const ScenePoint top = chart->MapTriple(25, 2, 4000);
    const QImage img = Draw(f);
    EXPECT_GE(CountAround(img, At(top, f), 2, magenta), 4);
    EXPECT_GE(CountAround(img, At({top.X, top.Y, chart->AxisZBottom}, f), 2, magenta), 2);
}

// A kept run's path is drawn in its colour beside the current run's blue, and a race's lanes in
// theirs; a picked start is a white cross over the surface.
TEST_F(ChartRender, KeptPathsAndRaceLanesTakeTheirColoursAndAPickedStartIsAWhiteCross) {
    SetDefaultProblem({25, 2, 4000});
    ChartFrame f;
    const ColourTest orange = Near(255, 128, 0, 3);
    const ColourTest white = Near(255, 255, 255, 3);
    const QPoint kept = At(chart->MapTriple(-25, 2, 4000), f);
    EXPECT_EQ(CountAround(Draw(f), kept, 3, orange), 0);
    chart->SetKeptPaths({{{-25, 2, 4000}, {255, 128, 0}}});
    QImage img = Draw(f);
    EXPECT_GE(CountAround(img, kept, 1, orange), 8) << kept.x() << "," << kept.y();
    EXPECT_GE(CountAround(img, At(chart->MapTriple(25, 2, 4000), f), 1, kMarkerBlue), 8);

    EXPECT_EQ(Count(img, white), 0);
    chart->SetPickedPoint({10, -20, 500});
    img = Draw(f);
    EXPECT_GE(CountAround(img, At(chart->MapTriple(10, -20, 500), f), 2, white), 4);

    // In a race the window's run is the first lane, its path and population drawn in the lane's
    // colour, and the other lanes' populations in theirs.
    f.ShowPolygons = false;
    const ColourTest cyan = Near(0, 255, 255, 3);
    const ColourTest violet = Near(128, 0, 255, 3);
    chart->SetPopulationPoints({-20, 10, 500});
    chart->SetLanePopulations({{{20, -10, 500}, {128, 0, 255}}});
    chart->SetRunColour(std::array<std::uint8_t, 3>{0, 255, 255});
    img = Draw(f);
    EXPECT_GE(CountAround(img, At(chart->MapTriple(25, 2, 4000), f), 1, cyan), 8);
    EXPECT_GE(CountAround(img, At(chart->MapTriple(-20, 10, 500), f), 2, cyan), 4);
    EXPECT_GE(CountAround(img, At(chart->MapTriple(20, -10, 500), f), 2, violet), 4);
    EXPECT_EQ(Count(img, kMarkerBlue) + Count(img, kPopulation), 0);
}

TEST_F(ChartRender, AxesAreDrawnInTheirColoursOnlyWhenOn) {
    SetDefaultProblem();
    ChartFrame f;
    QImage img = Draw(f);
    const float zb = chart->AxisZBottom;
    EXPECT_GE(CountAround(img, At({-0.5f, 0, zb}, f), 2, kAxisX), 1);
    EXPECT_GE(CountAround(img, At({0.9f, 0, zb}, f), 3, kAxisX), 3);  // shaft and arrowhead
    EXPECT_GE(CountAround(img, At({0, -0.5f, zb}, f), 2, kAxisY), 1);
    EXPECT_GE(CountAround(img, At({0, 0, 0}, f), 2, kAxisZ), 1);

    f.ShowAxes = false;
    img = Draw(f);
    EXPECT_EQ(Count(img, kAxisX), 0);
    EXPECT_EQ(Count(img, kAxisY), 0);
    EXPECT_EQ(Count(img, kAxisZ), 0);
}

TEST_F(ChartRender, WithoutAYAxisOnlyXAndHeightAxesAreDrawn) {
    std::vector<float> line(100);
    for (int j = 0; j < 100; ++j) line[j] = j * 0.1f;
    chart->SetData(0, 10, 0, 0, 0, 10, line, {}, {});
    const QImage img = Draw(ChartFrame{});
    EXPECT_GT(Count(img, kAxisX), 50);
    EXPECT_GT(Count(img, kAxisZ), 50);
    EXPECT_EQ(Count(img, kAxisY), 0);
}

TEST_F(ChartRender, OnlyValuesOtherThanZeroAreLabelled) {
    chart->SetData(0, 10, -5, 5, 0, 20, std::vector<float>(10000, 10.0f), {}, {});
    ChartFrame f;
    f.ShowAxes = false;
    f.ShowPolygons = false;
    f.ShowAxesDescription = true;
    const QImage img = Draw(f);
    // A label's glyph blocks stand on its raster position, up and to the right.
    auto labelAt = [&](ScenePoint p, const ColourTest& colour) {
        const QPoint q = At(p, f);
        return CountIn(img, q.x() + 1, q.y() - 7, q.x() + 4, q.y() - 2, colour);
    };
    EXPECT_GE(labelAt({1, 0, -1}, kAxisX), 10);   // X=10
    EXPECT_EQ(labelAt({-1, 0, -1}, kAxisX), 0);   // X=0 is not drawn
    EXPECT_GE(labelAt({0, -1, -1}, kAxisY), 10);  // Y=-5
    EXPECT_GE(labelAt({0, 1, -1}, kAxisY), 10);   // Y=5
    EXPECT_EQ(labelAt({0, 0, -1}, kAxisZ), 0);    // Z=0.0 is not drawn
    EXPECT_GE(labelAt({0, 0, 1}, kAxisZ), 10);    // Z=20.0

    f.ShowAxesDescription = false;
    const QImage plain = Draw(f);
    EXPECT_EQ(Count(plain, kAxisX) + Count(plain, kAxisY) + Count(plain, kAxisZ), 0);
}

TEST_F(ChartRender, WithAllStyleBoxesOffOnlyMarkersAndAxesRemain) {
    SetDefaultProblem({0, 2, 15, 25, 2, 4000}, {-20, 10, 500, 30, -30, 2000});
    ChartFrame f;
    f.ShowPolygons = false;
    f.ShowPoints = false;
    f.ShowLines = false;
    const QImage img = Draw(f);
    const ColourTest allowed = [](QRgb c) {
        return kBackground(c) || kMarkerBlue(c) || kPopulation(c) || kAxisX(c) || kAxisY(c) ||
               kAxisZ(c);
    };
    EXPECT_EQ(Count(img, [&](QRgb c) { return !allowed(c); }), 0);
    EXPECT_GT(Count(img, kMarkerBlue), 20);  // two spheres and the path between them
    EXPECT_GE(Count(img, kPopulation), 4);   // two points of size 2
    EXPECT_GT(Count(img, kAxisX), 50);

    // Each style alone draws the surface.
    for (int style = 0; style < 3; ++style) {
        ChartFrame one = f;
        one.ShowPolygons = style == 0;
        one.ShowPoints = style == 1;
        one.ShowLines = style == 2;
        const QImage drawn = Draw(one);
        EXPECT_GT(Count(drawn, [&](QRgb c) { return !allowed(c); }), 500) << style;
    }
}

TEST_F(ChartRender, LineModeDrawsItsCurveWhateverTheStyleBoxes) {
    std::vector<float> line(100);
    for (int j = 0; j < 100; ++j) line[j] = j * 0.1f;
    chart->SetData(0, 10, 0, 0, 0, 10, line, {}, {});
    ChartFrame f;
    f.ShowPolygons = false;
    f.ShowAxes = false;
    f.ShowSolution = false;
    const QImage img = Draw(f);
    EXPECT_GT(Count(img, [](QRgb c) { return !kBackground(c); }), 250);
    // At sample 30 (value 3, l = 0.3) the curve has its colour (0.79, 0.3, 0).
    const ChartVertex& v = chart->Vertices[30];
    EXPECT_GE(CountAround(img, At({v.X, v.Y, v.Z}, f), 2, Near(201, 76, 0, 20)), 1);
}

TEST_F(ChartRender, SpiralModeDrawsTheHelixAndNoAxes) {
    SetDefaultProblem({0.5f, 0.0f, 0.2f});
    ChartFrame f;
    f.SpiralMode = true;
    f.ShowAxesDescription = true;
    const ColourTest helix = [](QRgb c) { return qBlue(c) == 0 && qRed(c) + qGreen(c) > 200; };
    QImage img = Draw(f);
    EXPECT_GT(Count(img, helix), 2000);
    EXPECT_EQ(Count(img, kAxisX) + Count(img, kAxisY) + Count(img, kAxisZ), 0);
    // The solution (r 0.5, angle 0, height 0.2) sits on the helix's mapping, unscaled.
    const QPoint p = At({0.5f, 0.0f, 0.2f}, f);
    EXPECT_GE(CountAround(img, p, 1, kMarkerBlue), 4);

    f.ShowPolygons = false;
    img = Draw(f);
    EXPECT_EQ(Count(img, helix), 0);
    EXPECT_GE(CountAround(img, p, 1, kMarkerBlue), 4);
}

TEST_F(ChartRender, TheWaveFrameShowsTheDentAndThenTheFlatGridReturns) {
    SetDefaultProblem({25, 2, 4000});
    ChartFrame f = TopView();
    f.WaveMode = true;
    f.ShiftY = 0;
    f.ShowPolygons = false;  // the wave is drawn whatever the style boxes say
    f.ShowAxes = true;       // but without axes and markers
    QImage img = Draw(f);
    // The dent (radius 5 cells) in stripes of blue; the resting grid around it is black.
    const ColourTest stripe = [](QRgb c) { return qRed(c) < 3 && qGreen(c) < 3 && qBlue(c) > 60; };
    const QPoint centre = At({0, 0, -2}, f);
    EXPECT_GE(CountAround(img, centre, 12, stripe), 50);
    EXPECT_EQ(CountAround(img, At({0.5f, 0.5f, 0}, f), 30, stripe), 0);
    // At rest the grid's blue is 0: black.
    EXPECT_GE(CountAround(img, At({0.5f, 0.5f, 0}, f), 2, Near(0, 0, 0, 2)), 20);
    EXPECT_EQ(Count(img, kAxisX) + Count(img, kAxisZ) + Count(img, kMarkerBlue), 0);

    // A later frame moves the wave on.
    const QImage next = Draw(f);
    EXPECT_NE(img, next);

    // Leaving wave mode rebuilds the grid flat and blue until new data arrive.
    f.WaveMode = false;
    f.ShowPolygons = true;
    f.ShowSolution = false;
    img = Draw(f);
    EXPECT_GT(Count(img, Near(0, 0, 255, 2)), 10000);
}

}  // namespace

namespace {

// A path of n distinct markers over the start-up problem: a random walk from (x, y) with steps
// of about `step`, its values around the surface, so that spheres cross the surface, crowd and
// hide one another. Every seventh step is repeated.
std::vector<float> WalkingPath(int n, float x, float y, float step, unsigned seed) {
    std::vector<float> path;
    unsigned s = seed;
    auto next = [&s] {
        s = s * 1103515245u + 12345u;
        return static_cast<float>((s >> 8) & 0xFFFF) / 65536.0f - 0.5f;
    };
    for (int i = 0; i < n; ++i) {
        x = std::clamp(x + next() * step, -50.0f, 50.0f);
        y = std::clamp(y + next() * step, -40.0f, 40.0f);
        const float f = x * x + (y - 2) * (y - 2) + 15 + next() * 50.0f * step;
        path.insert(path.end(), {x, y, f});
        if (i % 7 == 3) path.insert(path.end(), {x, y, f});
    }
    return path;
}

// Helix triples (r, theta, z) for spiral mode.
std::vector<float> SpiralPath(int n) {
    std::vector<float> path;
    for (int i = 0; i < n; ++i) {
        const float t = i * 19.0f / n;
        path.insert(path.end(), {0.3f + 0.5f * std::sin(i * 0.37f), t, 0.125f * t - 0.5f});
    }
    return path;
}

// Few pixels of the cheap picture differ from the reference (0.4 %), and nearly all of those
// (all but 0.05 % of the picture) are an outline one pixel off: the colour of a neighbouring
// pixel of the reference. The rest are single pixels where a sphere just touches the surface.
void ExpectCloseTo(const QImage& reference, const QImage& cheap) {
    auto same = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3 &&
               std::abs(qBlue(a) - qBlue(b)) <= 3;
    };
    int different = 0, unexplained = 0;
    for (int y = 0; y < cheap.height(); ++y) {
        for (int x = 0; x < cheap.width(); ++x) {
            const QRgb c = cheap.pixel(x, y);
            if (same(c, reference.pixel(x, y))) continue;
            ++different;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy) {
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int u = x + dx, v = y + dy;
                    near = u >= 0 && v >= 0 && u < cheap.width() && v < cheap.height() &&
                           same(c, reference.pixel(u, v));
                }
            }
            if (!near) ++unexplained;
        }
    }
    const int pixels = cheap.width() * cheap.height();
    EXPECT_LE(unexplained, 0.0005 * pixels) << unexplained;
    EXPECT_LE(different, 0.004 * pixels) << different;
}

}  // namespace

TEST_F(ChartRender, CheapMarkersLookLikeFullSpheresOneAfterAnotherAtEveryWindowSize) {
    ChartFrame centred;  // the bottom of the bowl in the middle of the panel
    centred.ShiftX = 0;
    centred.ShiftY = 0;
    ChartFrame near = centred;
    near.Distance = 1100;  // spheres about 25 pixels across, the largest the near plane allows
    ChartFrame spiral;
    spiral.SpiralMode = true;
    const struct {
        const char* name;
        std::vector<float> path;
        ChartFrame frame;
    } cases[] = {
        {"3", WalkingPath(3, -30, -20, 6, 5), ChartFrame{}},
        {"200", WalkingPath(200, -30, -20, 6, 5), ChartFrame{}},
        {"1000", WalkingPath(1000, -30, -20, 6, 5), ChartFrame{}},
        {"10000", WalkingPath(10000, 0, 2, 8, 5), ChartFrame{}},
        // Most steps stay on a pixel: the line keeps about a third of its vertices.
        {"5000 small steps", WalkingPath(5000, 0, 2, 0.3f, 5), TopView()},
        {"200 near", WalkingPath(200, 0, 2, 1.5f, 7), near},
        {"1000 spiral", SpiralPath(1000), spiral},
    };
    // The panel's start-up size, a maximised window on a full-HD and on a 4K screen: the
    // spheres grow with the window, and the cheap drawing must keep up at every size.
    const struct { int width, height; } sizes[] = {{kWidth, kHeight}, {1920, 1080}, {3840, 2160}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        static std::map<std::pair<int, int>, OffscreenGl*> targets;
        OffscreenGl*& target = targets[{size.width, size.height}];
        if (target == nullptr) target = new OffscreenGl(size.width, size.height);
        ASSERT_TRUE(target->MakeCurrent());
        SurfaceChart drawing;
        drawing.AttachContext(OffscreenGl::SolidGlyphs());
        drawing.Render(*chart, 0, 0, size.width, size.height, ChartFrame{});
        auto draw = [&](const ChartFrame& f, bool exact) {
            drawing.ExactMarkers = exact;
            drawing.Render(*chart, 0, 0, size.width, size.height, f);
            return target->Read();
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            SetDefaultProblem(c.path);
            const QImage reference = draw(c.frame, true);
            const QImage cheap = draw(c.frame, false);
            if (std::getenv("QUARMEL_SAVE_FRAMES")) {
                const QString name = QString("%1_%2").arg(c.name).arg(size.width).replace(' ', '_');
                reference.save(QString("/tmp/perf_ref_%1.png").arg(name));
                cheap.save(QString("/tmp/perf_cheap_%1.png").arg(name));
            }
            ExpectCloseTo(reference, cheap);
            EXPECT_GT(Count(cheap, kMarkerBlue), 20);
        }
        drawing.DetachContext();
    }
    ASSERT_TRUE(gl->MakeCurrent());
}

TEST_F(ChartRender, RepeatedMarkersGiveTheSamePicture) {
    std::vector<float> once = WalkingPath(50, -30, -20, 6, 9), twice;
    for (std::size_t i = 0; i + 3 <= once.size(); i += 3) {
        for (int k = 0; k < 3; ++k)
            twice.insert(twice.end(), once.begin() + i, once.begin() + i + 3);
    }
    SetDefaultProblem(once);
    const QImage a = Draw(ChartFrame{});
    SetDefaultProblem(twice);
    const QImage b = Draw(ChartFrame{});
    EXPECT_TRUE(a == b);
}
