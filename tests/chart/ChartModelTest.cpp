#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "chart/ChartModel.h"

using namespace quarmel;

namespace {

constexpr float kTol = 1e-5f;

std::unique_ptr<ChartModel> NewModel() {
    return std::make_unique<ChartModel>();
}

// 10000 samples rising along X from 0 to 99 and the same in every row.
std::vector<float> RampAlongX() {
    std::vector<float> s(10000);
    for (int i = 0; i < 100; ++i) {
        for (int j = 0; j < 100; ++j) s[i * 100 + j] = static_cast<float>(j);
    }
    return s;
}

void ExpectColour(const ChartVertex& v, float r, float g, float b) {
    EXPECT_NEAR(v.Red, r, 1e-4);
    EXPECT_NEAR(v.Green, g, 1e-4);
    EXPECT_NEAR(v.Blue, b, 1e-4);
}

TEST(ChartModelSetData, GridPositionsSpanMinusOneTo098AndHeightsSpanTwo) {
    auto m = NewModel();
    m->SetData(0, 10, -5, 5, 0, 99, RampAlongX(), {}, {});
    EXPECT_FALSE(m->LineMode());
    const ChartVertex& first = m->Vertices[0];
    EXPECT_NEAR(first.X, -1.0f, kTol);
    EXPECT_NEAR(first.Y, -1.0f, kTol);
    EXPECT_NEAR(first.Z, -1.0f, kTol);
    // Row 3, column 7.
    const ChartVertex& v = m->Vertices[3 * 100 + 7];
    EXPECT_NEAR(v.X, -0.86f, kTol);
    EXPECT_NEAR(v.Y, -0.94f, kTol);
    EXPECT_NEAR(v.Z, (7.0f - 49.5f) / 49.5f, kTol);
    const ChartVertex& last = m->Vertices[9999];
    EXPECT_NEAR(last.X, 0.98f, kTol);
    EXPECT_NEAR(last.Y, 0.98f, kTol);
    EXPECT_NEAR(last.Z, 1.0f, kTol);
    EXPECT_NEAR(m->AxisZBottom, -1.0f, kTol);
    EXPECT_NEAR(m->AxisZTop, 1.0f, kTol);
    EXPECT_EQ(m->AxisXStart, -1.0f);
    EXPECT_EQ(m->AxisXEnd, 1.0f);
    EXPECT_EQ(m->AxisYStart, -1.0f);
    EXPECT_EQ(m->AxisYEnd, 1.0f);
}

TEST(ChartModelSetData, TheColourRampIsAnchoredAtZero) {
    auto m = NewModel();
    std::vector<float> s(10000, 0.0f);
    s[1] = 100.0f;  // top of the range
    s[2] = 50.0f;   // g = 0.5
    s[3] = 10.0f;   // g = 0.1
    s[4] = 1.0f;    // g = 0.01
    m->SetData(0, 1, 0, 1, 0, 100, s, {}, {});
    ExpectColour(m->Vertices[0], 0.0f, 0.5f, 0.0f);           // lowest: mid green
    ExpectColour(m->Vertices[1], 1.9f, -0.2f, 0.0f);          // red, left to clamping
    ExpectColour(m->Vertices[2], 0.95f, 1.0f - 0.3f, 0.0f);   // yellow
    ExpectColour(m->Vertices[3], 0.19f, 0.8803771f, 0.03f);   // 1 - 0.1 * 6^0.1, 3 * 0.1^2
    ExpectColour(m->Vertices[4], 0.019f, 0.4909603f, 3e-4f);  // 1 - 0.5 * 6^0.01

    // A range that starts above 0 is scaled by its width only: its lowest point is already
    // at the top of the ramp, and so is the bottom of the height axis.
    std::vector<float> high(10000, 100.0f);
    m->SetData(0, 1, 0, 1, 100, 200, high, {}, {});
    EXPECT_NEAR(m->Vertices[0].Z, 1.0f, kTol);
    ExpectColour(m->Vertices[0], 1.9f, -0.2f, 0.0f);
    EXPECT_NEAR(m->AxisZBottom, 1.0f, kTol);
    EXPECT_NEAR(m->AxisZTop, 3.0f, kTol);
}

TEST(ChartModelSetData, AnEmptyHeightRangeIsReplaced) {
    auto m = NewModel();
    // 0 .. 0 becomes 0 .. first sample + 10.
    m->SetData(0, 0, 0, 0, 0, 0, std::vector<float>(10000, 5.0f), {}, {});
    EXPECT_EQ(m->ZMin, 0.0f);
    EXPECT_EQ(m->ZMax, 15.0f);
    EXPECT_FALSE(m->LineMode());
    for (int n : {0, 4321, 9999}) EXPECT_NEAR(m->Vertices[n].Z, -1.0f / 3.0f, kTol);
    EXPECT_NEAR(m->AxisZBottom, -1.0f, kTol);
    EXPECT_NEAR(m->AxisZTop, 1.0f, kTol);

    // A first sample of -10 would give 0 .. 0 again: heights must stay finite.
    m->SetData(0, 0, 0, 0, 0, 0, std::vector<float>(10000, -10.0f), {}, {});
    EXPECT_LT(m->ZMin, m->ZMax);
    EXPECT_TRUE(std::isfinite(m->Vertices[0].Z));
    EXPECT_TRUE(std::isfinite(m->MapSingle(-10.0f).Z));

    // Any other flat range too.
    m->SetData(0, 1, 0, 1, 3, 3, std::vector<float>(10000, 3.0f), {}, {});
    EXPECT_LT(m->ZMin, m->ZMax);
    EXPECT_TRUE(std::isfinite(m->Vertices[77].Z));
}

TEST(ChartModelSetData, LineModeLaysOutTheFirstHundredVerticesOnly) {
    auto m = NewModel();
    m->RebuildGrid();
    std::vector<float> s(100);
    for (int j = 0; j < 100; ++j) s[j] = j * 0.1f;
    s[10] = 3.0f;   // l = 0.3
    s[20] = 12.5f;  // l = 0.25 (wraps)
    s[30] = 5.0f;   // l = 0.5
    s[40] = 8.0f;   // l = 0.8
    m->SetData(0, 10, 0, 0, 0, 10, s, {}, {});
    EXPECT_TRUE(m->LineMode());
    EXPECT_NEAR(m->Vertices[0].X, -1.0f, kTol);
    EXPECT_NEAR(m->Vertices[99].X, 0.98f, kTol);
    EXPECT_EQ(m->Vertices[99].Y, 0.0f);
    EXPECT_NEAR(m->Vertices[10].Z, (3.0f - 5.0f) / 5.0f, kTol);
    // Line colours: (0.6, 0.2, 0.5) below l = 0.05, else Green = l, Red = 1 - l + o * l.
    ExpectColour(m->Vertices[0], 0.6f, 0.2f, 0.5f);
    ExpectColour(m->Vertices[10], 1.0f - 0.3f + 0.3f * 0.3f, 0.3f, 0.0f);
    ExpectColour(m->Vertices[20], 1.0f - 0.25f + 0.3f * 0.25f, 0.25f, 0.0f);
    ExpectColour(m->Vertices[30], 1.0f - 0.5f + 0.5f * 0.5f, 0.5f, 0.0f);
    ExpectColour(m->Vertices[40], 1.0f - 0.8f, 0.8f, 0.0f);
    // The rest of the grid keeps the positions it had and takes the neutral colour.
    const ChartVertex& v = m->Vertices[100 * 50 + 3];
    EXPECT_NEAR(v.X, -0.94f, kTol);
    EXPECT_NEAR(v.Y, 0.0f, kTol);
    EXPECT_EQ(v.Z, 0.0f);
    ExpectColour(v, 0.2f, 0.2f, 0.0f);
}

TEST(ChartModelSetData, AOneVariableProblemOverZeroToZeroIsShownAsACurve) {
    auto m = NewModel();
    m->SetData(0, 0, 0, 0, 0, 4, std::vector<float>(100, 4.0f), {4.0f}, {});
    EXPECT_TRUE(m->LineMode());
    EXPECT_NEAR(m->Vertices[50].Z, 1.0f, kTol);
    // Too few samples for a surface are never read past their end.
    m->SetData(0, 1, 0, 1, 0, 4, {}, {}, {});
    EXPECT_TRUE(m->LineMode());
    EXPECT_NEAR(m->Vertices[0].Z, -1.0f, kTol);
}

TEST(ChartModelSetData, KeepsTheMarkersButLeavesGridAndWaveAlone) {
    auto m = NewModel();
    m->Wave.Height[3][4] = 7.0f;
    m->SetData(0, 1, 0, 1, 0, 1, std::vector<float>(10000, 0.5f), {1, 2, 3}, {4, 5, 6, 7, 8, 9});
    EXPECT_EQ(m->SolutionPoints(), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(m->PopulationPoints(), (std::vector<float>{4, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(m->GridRebuildPending);
    EXPECT_EQ(m->QuadIndices[5], 0u);
    EXPECT_EQ(m->Wave.Height[3][4], 7.0f);
}

TEST(ChartModelBeforeData, RangesAreThoseOfAConstantZeroProblem) {
    auto m = NewModel();
    EXPECT_EQ(m->XMin, 0.0f);
    EXPECT_EQ(m->XMax, 0.0f);
    EXPECT_EQ(m->YMin, 0.0f);
    EXPECT_EQ(m->YMax, 0.0f);
    EXPECT_EQ(m->ZMin, 0.0f);
    EXPECT_EQ(m->ZMax, 10.0f);
    EXPECT_EQ(m->AxisZBottom, -1.0f);
    EXPECT_EQ(m->AxisZTop, 1.0f);
    auto fresh = NewModel();
    fresh->SetData(0, 0, 0, 0, 0, 0, std::vector<float>(10000, 0.0f), {}, {});
    EXPECT_EQ(fresh->ZMax, m->ZMax);
    EXPECT_EQ(fresh->AxisZBottom, m->AxisZBottom);
    EXPECT_EQ(fresh->AxisZTop, m->AxisZTop);
}

TEST(ChartModelMarkers, TriplesAndPairsUseTheGridScaling) {
    auto m = NewModel();
    m->SetData(0, 10, -4, 4, 0, 20, std::vector<float>(10000, 0.0f), {}, {});
    ScenePoint p = m->MapTriple(10, -4, 20);
    EXPECT_NEAR(p.X, 1.0f, kTol);
    EXPECT_NEAR(p.Y, -1.0f, kTol);
    EXPECT_NEAR(p.Z, 1.0f, kTol);
    p = m->MapTriple(2.5f, 0, 5);
    EXPECT_NEAR(p.X, -0.5f, kTol);
    EXPECT_NEAR(p.Y, 0.0f, kTol);
    EXPECT_NEAR(p.Z, -0.5f, kTol);
    // The value at column 37 of the sampling lies on that column.
    p = m->MapTriple(3.7f, 0, 0);
    EXPECT_NEAR(p.X, (37 - 50) * 0.02f, kTol);
    // Below the range's start: mirrored about it.
    p = m->MapTriple(-2, -6, -20);
    EXPECT_NEAR(p.X, -0.6f, kTol);
    EXPECT_NEAR(p.Y, -0.5f, kTol);
    EXPECT_NEAR(p.Z, -3.0f, kTol);

    m->SetData(0, 10, 0, 0, 0, 20, std::vector<float>(100, 0.0f), {}, {});
    p = m->MapPair(5, 10);
    EXPECT_NEAR(p.X, 0.0f, kTol);
    EXPECT_EQ(p.Y, 0.0f);
    EXPECT_NEAR(p.Z, 0.0f, kTol);
}

TEST(ChartModelMarkers, ASingleValueStandsOnTheHeightAxis) {
    auto m = NewModel();
    m->SetData(0, 0, 0, 0, 0, 0, std::vector<float>(10000, 2.0f), {2.0f}, {2.0f, 2.0f});
    // Height range 0 .. 12.
    ScenePoint p = m->MapSingle(12);
    EXPECT_EQ(p.X, 0.0f);
    EXPECT_EQ(p.Y, 0.0f);
    EXPECT_NEAR(p.Z, 1.0f, kTol);
    EXPECT_NEAR(m->MapSingle(6).Z, 0.0f, kTol);
    // The single marker lies on the flat grid it belongs to.
    EXPECT_NEAR(m->MapSingle(2).Z, m->Vertices[0].Z, kTol);
    const auto points = m->ScenePoints(m->SolutionPoints(), false);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_NEAR(points[0].Z, m->Vertices[0].Z, kTol);
}

TEST(ChartModelMarkers, AZeroWidthAxisPutsItsMarkersAtTheStart) {
    auto m = NewModel();
    m->SetData(3, 3, -2, -2, 0, 10, std::vector<float>(10000, 0.0f), {}, {});
    const ScenePoint p = m->MapTriple(3, 5, 5);
    EXPECT_EQ(p.X, -1.0f);
    EXPECT_EQ(p.Y, -1.0f);
    EXPECT_NEAR(p.Z, 0.0f, kTol);
}

TEST(ChartModelMarkers, AnInvertedRangeMapsWhereTheSamplingPutTheValue) {
    auto m = NewModel();
    // Sampling over 10 .. 0 runs from 10 upward in steps of 0.1: column 50 holds 15.
    m->SetData(10, 0, 0, 1, 0, 1, std::vector<float>(10000, 0.0f), {}, {});
    EXPECT_NEAR(m->MapTriple(15, 0, 0).X, 0.0f, kTol);
    EXPECT_NEAR(m->MapTriple(10, 0, 0).X, -1.0f, kTol);
}

TEST(ChartModelMarkers, ListsAreReadInWholeTuplesForTheAxesPresent) {
    auto m = NewModel();
    m->SetData(0, 10, 0, 10, 0, 10, std::vector<float>(10000, 0.0f), {}, {});
    EXPECT_EQ(m->ScenePoints({1, 2, 3, 4, 5, 6, 7}, false).size(), 2u);
    m->SetData(0, 10, 0, 0, 0, 10, std::vector<float>(100, 0.0f), {}, {});
    const auto pairs = m->ScenePoints({1, 2, 3, 4, 5}, false);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_NEAR(pairs[1].X, (30 - 50) * 0.02f, kTol);
    EXPECT_NEAR(pairs[1].Z, (4.0f - 5.0f) / 5.0f, kTol);
    EXPECT_TRUE(m->ScenePoints({}, false).empty());
}

TEST(ChartModelMarkers, SpiralModeReadsWholeTriplesOnTheHelix) {
    auto m = NewModel();
    m->SetData(0, 1, 0, 20, 0, 1, std::vector<float>(10000, 0.0f), {}, {});
    const float pi = 3.14159265f;
    const auto points = m->ScenePoints({1, 0, 0.3f, 0.5f, pi / 2, -0.1f, 9, 9}, true);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_NEAR(points[0].X, 1.0f, kTol);
    EXPECT_NEAR(points[0].Y, 0.0f, kTol);
    EXPECT_NEAR(points[0].Z, 0.3f, kTol);  // not scaled
    EXPECT_NEAR(points[1].X, 0.0f, kTol);
    EXPECT_NEAR(points[1].Y, 0.5f * (1 - 0.05f * pi / 2), kTol);
    EXPECT_NEAR(points[1].Z, -0.1f, kTol);
    // Pairs and single values hold no (r, theta, z): no helix markers.
    m->SetData(0, 1, 0, 0, 0, 1, std::vector<float>(100, 0.0f), {}, {});
    EXPECT_TRUE(m->ScenePoints({1, 2, 3, 4, 5, 6}, true).empty());
    m->SetData(0, 0, 0, 0, 0, 1, std::vector<float>(10000, 0.0f), {}, {});
    EXPECT_TRUE(m->ScenePoints({1, 1, 1}, true).empty());
}

}  // namespace

namespace {

TEST(ChartModelLabels, OnlyValuesOtherThanZeroAreLabelled) {
    auto m = std::make_unique<ChartModel>();
    m->SetData(0, 10, -2.5f, 0, 0.04f, 0.06f, std::vector<float>(10000, 0.05f), {}, {});
    const std::vector<ChartLabel> labels = m->AxisLabels();
    ASSERT_EQ(labels.size(), 4u);
    EXPECT_EQ(labels[0].Text, "X=10");
    EXPECT_EQ(labels[0].At.X, 1.0f);
    EXPECT_EQ(labels[0].At.Z, m->AxisZBottom);
    EXPECT_EQ(labels[0].Red, 255);
    EXPECT_EQ(labels[0].Green, 200);
    EXPECT_EQ(labels[1].Text, "Y=-2.5");
    EXPECT_EQ(labels[1].At.Y, -1.0f);
    EXPECT_EQ(labels[1].Green, 255);
    // The height format rounds to one decimal.
    EXPECT_EQ(labels[2].Text, "Z=0.0");
    EXPECT_EQ(labels[2].At.Z, m->AxisZBottom);
    EXPECT_EQ(labels[3].Text, "Z=0.1");
    EXPECT_EQ(labels[3].At.Z, m->AxisZTop);
    EXPECT_EQ(labels[3].Blue, 255);
}

// The kept scene points are those ScenePoints gives for the lists as they are now.
void ExpectScene(const std::vector<ScenePoint>& kept, const std::vector<ScenePoint>& fresh) {
    ASSERT_EQ(kept.size(), fresh.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(kept[i].X, fresh[i].X) << i;
        EXPECT_EQ(kept[i].Y, fresh[i].Y) << i;
        EXPECT_EQ(kept[i].Z, fresh[i].Z) << i;
    }
}

TEST(ChartModelMarkers, KeptScenePointsFollowTheListsTheRangesAndTheSpiralMode) {
    auto m = NewModel();
    const std::vector<float> samples(10000, 0.0f);
    // An incomplete tuple at the end, completed by the append.
    m->SetData(0, 10, 0, 10, 0, 10, samples, {1, 2, 3, 4, 5}, {6, 7, 8});
    EXPECT_EQ(m->SolutionScene(false).size(), 1u);
    m->AppendSolutionPoints({6, 7, 8, 9});
    ExpectScene(m->SolutionScene(false), m->ScenePoints(m->SolutionPoints(), false));
    EXPECT_EQ(m->SolutionScene(false).size(), 3u);
    ExpectScene(m->SolutionScene(true), m->ScenePoints(m->SolutionPoints(), true));
    ExpectScene(m->PopulationScene(false), m->ScenePoints(m->PopulationPoints(), false));

    m->SetSurface(0, 20, 0, 10, 0, 5, samples);
    ExpectScene(m->SolutionScene(true), m->ScenePoints(m->SolutionPoints(), true));
    ExpectScene(m->SolutionScene(false), m->ScenePoints(m->SolutionPoints(), false));
    ExpectScene(m->PopulationScene(false), m->ScenePoints(m->PopulationPoints(), false));
    // Only the X axis: the same numbers read as pairs.
    m->SetSurface(0, 20, 0, 0, 0, 5, samples);
    ExpectScene(m->SolutionScene(false), m->ScenePoints(m->SolutionPoints(), false));
    EXPECT_EQ(m->SolutionScene(false).size(), 4u);

    m->SetSolutionPoints({3, 3});
    m->SetPopulationPoints({});
    ExpectScene(m->SolutionScene(false), m->ScenePoints({3, 3}, false));
    EXPECT_TRUE(m->PopulationScene(false).empty());
    // Without an axis, one point for the first value, also after an append.
    m->SetSurface(0, 0, 0, 0, 0, 5, samples);
    m->AppendSolutionPoints({4});
    ExpectScene(m->SolutionScene(false), m->ScenePoints({3, 3, 4}, false));
}

}  // namespace
