// The chart model's bookkeeping between frames: the grid, and the wave shown on it.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "chart/ChartModel.h"

using namespace quarmel;

namespace {

class ChartFrames : public ::testing::Test {
  protected:
    std::unique_ptr<ChartModel> m = std::make_unique<ChartModel>();
    const ChartVertex& At(int a, int b) const { return m->Vertices[b * 100 + a]; }
};

TEST_F(ChartFrames, RebuildGridLaysAFlatBlueGridAndFourIndicesPerCell) {
    m->RebuildGrid();
    const ChartVertex& v = m->Vertices[12 * 100 + 34];
    EXPECT_NEAR(v.X, (34 - 50) * 0.02f, 1e-6);
    EXPECT_NEAR(v.Y, (12 - 50) * 0.02f, 1e-6);
    EXPECT_EQ(v.Z, 0.0f);
    EXPECT_EQ(v.Red, 0.0f);
    EXPECT_EQ(v.Green, 0.0f);
    EXPECT_EQ(v.Blue, 1.0f);
    const unsigned first[] = {0, 1, 101, 100};
    const unsigned last[] = {9898, 9899, 9999, 9998};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(m->QuadIndices[k], first[k]);
        EXPECT_EQ(m->QuadIndices[39200 + k], last[k]);
    }
    // Cell of row 5, column 7 is cell 5 * 99 + 7.
    EXPECT_EQ(m->QuadIndices[4 * (5 * 99 + 7) + 2], 6u * 100 + 8);
}

TEST_F(ChartFrames, TheFirstFrameShowsTheDentWithoutAStep) {
    m->BeginFrame(true);
    m->EndFrame(true);
    EXPECT_FALSE(m->GridRebuildPending);
    EXPECT_TRUE(m->LastWaveMode);
    EXPECT_FLOAT_EQ(m->Wave.Height[50][50], -100.0f);
    EXPECT_NEAR(m->Wave.Height[52][50], -100.0 * std::cos(0.2 * M_PI), 1e-4);
    EXPECT_EQ(m->Wave.Height[55][50], 0.0f);  // r = 5 lies outside
    EXPECT_EQ(m->Wave.Height[53][54], 0.0f);  // so does r = 5 on a diagonal
    // The centre vertex: Z = -2, blue = frac(-100 / 15) = 1/3.
    EXPECT_NEAR(At(50, 50).Z, -2.0f, 1e-5);
    EXPECT_NEAR(At(50, 50).Blue, 1.0f / 3.0f, 1e-4);
    EXPECT_EQ(At(10, 80).Z, 0.0f);
    EXPECT_EQ(At(10, 80).Blue, 0.0f);
    // The wave lies on the grid's columns and rows: column a, row b.
    EXPECT_NEAR(At(52, 50).Z, 0.02f * m->Wave.Height[52][50], 1e-5);
    EXPECT_NEAR(At(52, 50).X, 0.04f, 1e-6);
    EXPECT_NEAR(At(52, 50).Y, 0.0f, 1e-6);
    EXPECT_EQ(At(52, 50).Red, 0.0f);
    EXPECT_EQ(At(52, 50).Green, 0.0f);
}

TEST_F(ChartFrames, EachLaterFrameAdvancesOneStep) {
    m->BeginFrame(true);
    m->EndFrame(true);
    m->BeginFrame(true);
    m->EndFrame(true);
    // From rest, one step adds dt^2 times the discrete Laplacian: the four neighbours of the
    // centre lie at r = 1.
    const double ring = -100.0 * std::cos(0.1 * M_PI);
    const double expected = -100.0 + 0.01 * (4 * ring + 400.0);
    EXPECT_NEAR(m->Wave.Height[50][50], expected, 1e-3);
    EXPECT_NEAR(At(50, 50).Z, 0.02 * expected, 1e-4);
    const double q = expected / 15.0;
    EXPECT_NEAR(At(50, 50).Blue, q - std::floor(q), 1e-4);
}

TEST_F(ChartFrames, ChangingModeRebuildsTheGridAndRestartsTheWave) {
    m->BeginFrame(true);
    m->EndFrame(true);
    for (int i = 0; i < 5; ++i) {
        m->BeginFrame(true);
        m->EndFrame(true);
    }
    EXPECT_GT(m->Wave.Height[50][50], -100.0f);
    // Back to surface mode: the grid is flat and blue again until the next SetData.
    m->BeginFrame(false);
    m->EndFrame(false);
    EXPECT_FALSE(m->LastWaveMode);
    EXPECT_EQ(At(50, 50).Z, 0.0f);
    EXPECT_EQ(At(50, 50).Blue, 1.0f);
    // And into wave mode again: the wave starts from its dent.
    m->BeginFrame(true);
    EXPECT_FLOAT_EQ(m->Wave.Height[50][50], -100.0f);
    EXPECT_NEAR(At(50, 50).Z, -2.0f, 1e-5);
}

TEST_F(ChartFrames, SurfaceFramesKeepTheDataOnceTheGridIsBuilt) {
    m->BeginFrame(false);  // first frame builds the grid
    m->EndFrame(false);
    m->SetData(0, 1, 0, 1, 0, 10, std::vector<float>(10000, 10.0f), {}, {});
    m->BeginFrame(false);
    EXPECT_NEAR(m->Vertices[1234].Z, 1.0f, 1e-6);
    EXPECT_EQ(m->QuadIndices[4], 1u);
}

}  // namespace
