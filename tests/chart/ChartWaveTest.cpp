#include <gtest/gtest.h>

#include <memory>

#include "chart/ChartWave.h"

using namespace quarmel;

namespace {

TEST(ChartWave, TheFirstRowAndColumnStayAndTheFarEdgesWrap) {
    auto w = std::make_unique<ChartWave>();
    w->Start();
    for (auto& column : w->Height) column.fill(0.0f);
    w->Height[0][7] = 3.0f;
    w->Height[7][0] = 5.0f;
    w->Step();
    EXPECT_EQ(w->Height[0][7], 3.0f);
    EXPECT_EQ(w->Height[7][0], 5.0f);
    // Flow out of a = 0 reaches a = 1 and, across the wrap, a = 99; the same along b.
    EXPECT_NEAR(w->Height[1][7], 0.03f, 1e-6);
    EXPECT_NEAR(w->Height[99][7], 0.03f, 1e-6);
    EXPECT_NEAR(w->Height[7][1], 0.05f, 1e-6);
    EXPECT_NEAR(w->Height[7][99], 0.05f, 1e-6);
    EXPECT_NEAR(w->FlowX[99][7], -0.3f, 1e-6);
    EXPECT_NEAR(w->SlopeX[99][7], -3.0f, 1e-6);

    w->Start();
    for (int i = 0; i < 600; ++i) w->Step();
    for (int k = 0; k < 100; ++k) {
        ASSERT_EQ(w->Height[0][k], 0.0f);
        ASSERT_EQ(w->Height[k][0], 0.0f);
    }
    EXPECT_NE(w->Height[1][50], 0.0f);  // the wave did reach the edge
}

}  // namespace
