#include "ui/chart/ChartFont.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "tests/ui/TestApplication.h"

namespace quarmel {
namespace {

TEST(ChartLabelFont, GlyphsScaleWithTheDevicePixelRatio) {
    quarmel::testing::TestApplication();
    EXPECT_EQ(ChartLabelPixelSize(1.0), 10);
    EXPECT_EQ(ChartLabelPixelSize(2.0), 20);
    EXPECT_EQ(ChartLabelPixelSize(1.5), 15);
    // Each glyph's bitmap is as high as the font's line: twice as high at ratio 2.
    const int one = QFontMetrics(ChartLabelFont(1.0)).height();
    const int two = QFontMetrics(ChartLabelFont(2.0)).height();
    EXPECT_NEAR(two, 2 * one, 2);
}

}  // namespace
}  // namespace quarmel
