// The program's icon, compiled in and loaded the way the program's start-up loads it.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QSvgRenderer>

#include "TestApplication.h"
#include "ui/dialogs/SvgImages.h"

namespace quarmel::test {
namespace {

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 0;
    }
    return count;
}

TEST(AppIcon, DrawsAtEverySizeTheMenusAskFor) {
    testing::TestApplication();
    InitResources();
    ASSERT_TRUE(QSvgRenderer(QString(":/icons/quarmel.svg")).isValid());
    const QIcon icon(":/icons/quarmel.svg");
    for (int side : {16, 48, 256}) {
        const QImage image = icon.pixmap(side, side).toImage();
        ASSERT_EQ(image.size(), QSize(side, side)) << side;
        // A rounded square: most of it is drawn, its corners are left clear.
        EXPECT_GT(OpaquePixels(image), side * side * 3 / 4) << side;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << side;
    }
}

}  // namespace
}  // namespace quarmel::test
