#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <memory>

#include "tests/ui/TestApplication.h"
#include "ui/chart/PanelChart.h"

using namespace quarmel;

namespace {

int Count(const QImage& img, int r, int g, int b, int tol) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            n += std::abs(qRed(c) - r) <= tol && std::abs(qGreen(c) - g) <= tol &&
                 std::abs(qBlue(c) - b) <= tol;
        }
    }
    return n;
}

class PanelChartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no X display";
        quarmel::testing::TestApplication();
        panel = std::make_unique<PanelChart>();
        panel->resize(654, 632);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    }

    // A bowl over X 0 .. 10 and Y -5 .. 5, heights 0 .. 5000.
    void GiveData() {
        std::vector<float> samples(10000);
        for (int i = 0; i < 100; ++i) {
            for (int j = 0; j < 100; ++j)
                samples[i * 100 + j] = (i - 50) * (i - 50) + (j - 50) * (j - 50);
        }
        panel->Chart().SetData(0, 10, -5, 5, 0, 5000, samples, {}, {});
    }

    QImage Grab() { return panel->grabFramebuffer().convertToFormat(QImage::Format_RGB32); }

    std::unique_ptr<PanelChart> panel;
};

TEST_F(PanelChartTest, ShowsBlackAndDrawsNothingUntilTheChartIsReady) {
    EXPECT_EQ(panel->objectName(), "PanelChart");
    GiveData();
    panel->RedrawChart();
    QCoreApplication::processEvents();
    const QImage img = Grab();
    EXPECT_EQ(Count(img, 0, 0, 0, 0), img.width() * img.height());
    EXPECT_EQ(panel->FramesRendered(), 0);
}

TEST_F(PanelChartTest, DrawsTheChartWithTheFrameSourcesOptions) {
    GiveData();
    panel->SetChartReady(true);
    Grab();  // the first frame lays out the grid
    GiveData();
    ChartFrame frame;
    panel->SetFrameSource([&frame] { return frame; });

    QImage img = Grab();
    EXPECT_GT(panel->FramesRendered(), 0);
    EXPECT_TRUE(img.pixel(0, 0) == qRgb(0, 0, 51)) << std::hex << img.pixel(0, 0);
    EXPECT_GT(Count(img, 255, 200, 200, 3), 50);  // X axis
    EXPECT_GT(img.width() * img.height() - Count(img, 0, 0, 51, 2), 20000);

    frame.ShowAxes = false;
    img = Grab();
    EXPECT_EQ(Count(img, 255, 200, 200, 3), 0);
}

TEST_F(PanelChartTest, LabelsAreDrawnWithTheGlyphsOfTheContext) {
    GiveData();
    panel->SetChartReady(true);
    ChartFrame frame;
    frame.ShowAxes = false;
    frame.ShowPolygons = false;
    frame.ShowAxesDescription = true;
    panel->SetFrameSource([&frame] { return frame; });
    QImage img = Grab();
    // X=10, Y=-5, Y=5 and Z=5000.0: text in the label colours.
    EXPECT_GT(Count(img, 255, 200, 200, 3), 10);
    EXPECT_GT(Count(img, 200, 255, 200, 3), 20);
    EXPECT_GT(Count(img, 200, 200, 255, 3), 10);

    frame.ShowAxesDescription = false;
    img = Grab();
    EXPECT_EQ(Count(img, 255, 200, 200, 3) + Count(img, 200, 255, 200, 3), 0);
}

TEST_F(PanelChartTest, ForwardsMouseEventsInPanelCoordinates) {
    QSignalSpy down(panel.get(), &PanelChart::MouseDown);
    QSignalSpy move(panel.get(), &PanelChart::MouseMove);
    QSignalSpy up(panel.get(), &PanelChart::MouseUp);
    QTest::mousePress(panel.get(), Qt::RightButton, {}, QPoint(12, 34));
    QMouseEvent moveEvent(QEvent::MouseMove, QPointF(40, 50), panel->mapToGlobal(QPointF(40, 50)),
                          Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(panel.get(), &moveEvent);
    QTest::mouseRelease(panel.get(), Qt::RightButton, {}, QPoint(40, 50));

    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(down[0][1].toInt(), 12);
    EXPECT_EQ(down[0][2].toInt(), 34);
    ASSERT_EQ(move.count(), 1);
    EXPECT_EQ(move[0][0].toInt(), 40);
    EXPECT_EQ(move[0][1].toInt(), 50);
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(up[0][0].value<Qt::MouseButton>(), Qt::RightButton);
}

}  // namespace

TEST_F(PanelChartTest, ATickAfterASlowFrameGoesWithoutARedraw) {
    GiveData();
    panel->SetChartReady(true);
    // A period of 0 ms makes every frame slow: ticks draw every other time.
    int frames = panel->FramesRendered();
    for (int tick = 0; tick < 4; ++tick) {
        panel->NoteDataChanged();
        panel->RedrawOnTick(0);
        // A tick while the frame still waits adds none.
        if (tick % 2 == 0) panel->RedrawOnTick(0);
        QTest::qWait(30);
        QCoreApplication::processEvents();
        EXPECT_EQ(panel->FramesRendered(), frames + (tick % 2 == 0 ? 1 : 0)) << tick;
        frames = panel->FramesRendered();
    }
    // Outside the timer a redraw is never skipped.
    panel->RedrawChart();
    QTest::qWait(30);
    EXPECT_EQ(panel->FramesRendered(), frames + 1);
}
