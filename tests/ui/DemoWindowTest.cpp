// The wave demonstration from the window: start and end by the menu item, the end by the chart
// page's tab, and a run started from the menu meanwhile.
#include <QAction>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "FindControl.h"
#include "WindowFixture.h"
#include "ui/PanelChart.h"

namespace quarmel::test {
namespace {

class DemoTest : public WindowTest {
  protected:
    void ExpectDemoRunning() {
        EXPECT_TRUE(form->WaveDemoRunning);
        EXPECT_TRUE(form->Demonstracja1->isChecked());
        EXPECT_TRUE(form->TimerDemo->isActive());
        EXPECT_FALSE(form->TimerChart->isActive());
        EXPECT_FALSE(form->ToolBarMain->isEnabled());
        EXPECT_TRUE(form->ChartReady);
        EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetChart);
    }

    void ExpectDemoEnded() {
        EXPECT_FALSE(form->WaveDemoRunning);
        EXPECT_FALSE(form->Demonstracja1->isChecked());
        EXPECT_FALSE(form->TimerDemo->isActive());
        EXPECT_TRUE(form->ToolBarMain->isEnabled());
        // Back on the chart page the function is read again and the progress timer runs.
        EXPECT_TRUE(form->TimerChart->isActive());
        EXPECT_TRUE(form->IgnoreRunResults);
    }
};

TEST_F(DemoTest, StartsBeforeAnyFunctionWasReadAndDrawsWaveFrames) {
    ASSERT_FALSE(form->ChartReady);
    form->Demonstracja1->trigger();
    ExpectDemoRunning();
    // Every frame advances the wave; the demonstration's timer keeps drawing them.
    const int frames = form->PanelChart->FramesRendered();
    QTRY_VERIFY(form->PanelChart->FramesRendered() >= frames + 3);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DemoTest, TheMenuItemEndsIt) {
    form->Demonstracja1->trigger();
    form->Demonstracja1->trigger();
    ExpectDemoEnded();
    EXPECT_TRUE(form->Demonstracja1->isEnabled());
}

TEST_F(DemoTest, TheChartTabEndsIt) {
    form->Demonstracja1->trigger();
    form->Funkcja1->trigger();
    ClickTab(form->TabSheetChart);
    ExpectDemoEnded();
    EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetChart);
}

TEST_F(DemoTest, OtherPagesLeaveTheWaveWaiting) {
    form->Demonstracja1->trigger();
    form->Funkcja1->trigger();
    const int frames = form->PanelChart->FramesRendered();
    form->TimerDemoTimer();
    QTest::qWait(100);
    EXPECT_EQ(form->PanelChart->FramesRendered(), frames);
    EXPECT_TRUE(form->WaveDemoRunning);
}

TEST_F(DemoTest, TheViewCanStillBeResetMeanwhile) {
    form->Demonstracja1->trigger();
    form->Navigation.TurnAngle = 45;
    QTest::mouseClick(form->BitBtnReset, Qt::LeftButton);
    EXPECT_FLOAT_EQ(form->Navigation.TurnAngle, 0.0f);
    EXPECT_TRUE(form->WaveDemoRunning);
}

TEST_F(DemoTest, ARunFromTheMenuReturnsToSurfaceFramesAndItsEndIsNoticed) {
    FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(0);
    form->Demonstracja1->trigger();
    form->Greedy1->trigger();
    EXPECT_FALSE(form->WaveDemoRunning);
    EXPECT_TRUE(form->TimerChart->isActive());
    // The check mark and the disabled tool bar stay until the item is chosen again.
    EXPECT_TRUE(form->Demonstracja1->isChecked());
    EXPECT_FALSE(form->ToolBarMain->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!form->Worker && form->StatusBar->currentMessage().isEmpty(), 20000);
    EXPECT_FALSE(form->RunSolutions.Empty());

    form->Demonstracja1->trigger();
    EXPECT_FALSE(form->Demonstracja1->isChecked());
    EXPECT_TRUE(form->ToolBarMain->isEnabled());
    EXPECT_FALSE(form->TimerDemo->isActive());
}

TEST_F(DemoTest, ClosingClearsTheDemonstration) {
    form->Demonstracja1->trigger();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->WaveDemoRunning);
}

}  // namespace
}  // namespace quarmel::test
