// The wave demonstration from the window: start and end by the menu item, the end by the chart
// page's tab, and a run started from the menu meanwhile.
#include <QAction>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "WindowFixture.h"
#include "ui/chart/PanelChart.h"

namespace quarmel::test {
namespace {

class DemoTest : public WindowTest {
  protected:
    void ExpectDemoRunning() {
        EXPECT_TRUE(Chart()->WaveMode());
        EXPECT_TRUE(Ctl<QAction>("Demonstracja1")->isChecked());
        EXPECT_TRUE(Ctl<QTimer>("TimerDemo")->isActive());
        EXPECT_FALSE(Ctl<QTimer>("TimerChart")->isActive());
        EXPECT_FALSE(Ctl<QWidget>("ToolBarMain")->isEnabled());
        EXPECT_TRUE(Chart()->ChartReady());
        EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(),
                  Ctl<QWidget>("TabSheetChart"));
    }

    void ExpectDemoEnded() {
        EXPECT_FALSE(Chart()->WaveMode());
        EXPECT_FALSE(Ctl<QAction>("Demonstracja1")->isChecked());
        EXPECT_FALSE(Ctl<QTimer>("TimerDemo")->isActive());
        EXPECT_TRUE(Ctl<QWidget>("ToolBarMain")->isEnabled());
        // Back on the chart page the function is read again and the progress timer runs.
        EXPECT_TRUE(Ctl<QTimer>("TimerChart")->isActive());
        EXPECT_TRUE(form->Session().ResultsIgnored());
    }
};

TEST_F(DemoTest, StartsBeforeAnyFunctionWasReadAndDrawsWaveFrames) {
    ASSERT_FALSE(Chart()->ChartReady());
    Ctl<QAction>("Demonstracja1")->trigger();
    ExpectDemoRunning();
    // Every frame advances the wave; the demonstration's timer keeps drawing them.
    const int frames = Ctl<PanelChart>("PanelChart")->FramesRendered();
    WAIT_FOR(Ctl<PanelChart>("PanelChart")->FramesRendered() >= frames + 3);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DemoTest, TheMenuItemEndsIt) {
    Ctl<QAction>("Demonstracja1")->trigger();
    Ctl<QAction>("Demonstracja1")->trigger();
    ExpectDemoEnded();
    EXPECT_TRUE(Ctl<QAction>("Demonstracja1")->isEnabled());
}

TEST_F(DemoTest, TheChartTabEndsIt) {
    Ctl<QAction>("Demonstracja1")->trigger();
    Ctl<QAction>("Funkcja1")->trigger();
    ClickTab(Ctl<QWidget>("TabSheetChart"));
    ExpectDemoEnded();
    EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(), Ctl<QWidget>("TabSheetChart"));
}

TEST_F(DemoTest, OtherPagesLeaveTheWaveWaiting) {
    Ctl<QAction>("Demonstracja1")->trigger();
    Ctl<QAction>("Funkcja1")->trigger();
    const int frames = Ctl<PanelChart>("PanelChart")->FramesRendered();
    // The wave's timer ticks meanwhile.
    QTest::qWait(100);
    EXPECT_EQ(Ctl<PanelChart>("PanelChart")->FramesRendered(), frames);
    EXPECT_TRUE(Chart()->WaveMode());
}

TEST_F(DemoTest, TheViewCanStillBeResetMeanwhile) {
    Ctl<QAction>("Demonstracja1")->trigger();
    Chart()->TimerAutoRotationTimer();
    ASSERT_NE(Chart()->Navigation().TurnAngle, 0.0f);
    QTest::mouseClick(Ctl<QPushButton>("BitBtnReset"), Qt::LeftButton);
    EXPECT_FLOAT_EQ(Chart()->Navigation().TurnAngle, 0.0f);
    EXPECT_TRUE(Chart()->WaveMode());
}

TEST_F(DemoTest, ARunFromTheMenuReturnsToSurfaceFramesAndItsEndIsNoticed) {
    Ctl<QSlider>("TrackBarLocalSleep")->setValue(0);
    Ctl<QAction>("Demonstracja1")->trigger();
    Ctl<QAction>("Greedy1")->trigger();
    EXPECT_FALSE(Chart()->WaveMode());
    EXPECT_TRUE(Ctl<QTimer>("TimerChart")->isActive());
    // The check mark and the disabled tool bar stay until the item is chosen again.
    EXPECT_TRUE(Ctl<QAction>("Demonstracja1")->isChecked());
    EXPECT_FALSE(Ctl<QWidget>("ToolBarMain")->isEnabled());
    WAIT_FOR_MS(!form->RunWorker() && Ctl<QStatusBar>("StatusBar")->currentMessage().isEmpty(),
                20000);
    EXPECT_FALSE(form->Solutions().Empty());

    Ctl<QAction>("Demonstracja1")->trigger();
    EXPECT_FALSE(Ctl<QAction>("Demonstracja1")->isChecked());
    EXPECT_TRUE(Ctl<QWidget>("ToolBarMain")->isEnabled());
    EXPECT_FALSE(Ctl<QTimer>("TimerDemo")->isActive());
}

TEST_F(DemoTest, ClosingClearsTheDemonstration) {
    Ctl<QAction>("Demonstracja1")->trigger();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(Chart()->WaveMode());
}

}  // namespace
}  // namespace quarmel::test
