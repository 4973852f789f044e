// The chart's view from the window: the three pictures with their "L" and "R" marks, drags on
// the chart panel with real mouse events, the distance scroll bar, auto-rotation and "Default".
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>

#include "WindowFixture.h"
#include "ui/PanelChart.h"

namespace quarmel::test {
namespace {

class NavigationTest : public WindowTest {
  protected:
    // Auto-rotation would turn the chart under the tests' feet; they call its handler instead.
    void SetUp() override {
        WindowTest::SetUp();
        form->TimerAutoRotation->stop();
    }

    // Shows the chart page by its tab and waits for the first progress tick to give the chart
    // its data.
    void ShowChart() {
        ClickTab(form->TabSheetChart);
        QTRY_VERIFY(form->ChartReady);
    }

    void ClickPicture(QLabel* picture, Qt::MouseButton button) {
        QTest::mouseClick(picture, button, {}, picture->rect().center());
    }

    QWidget* Panel() const { return form->PanelChart; }

    // Whether the panel shows the registered cursor of that number.
    bool HasCursor(int number) const {
        return Panel()->testAttribute(Qt::WA_SetCursor) &&
               Panel()->cursor().pixmap().cacheKey() == form->Cursors[number].pixmap().cacheKey();
    }

    // Presses a button on the panel at `from` and drags it to `to`.
    void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
        QTest::mousePress(Panel(), button, {}, from);
        QTest::mouseMove(Panel(), to);
    }

    void ExpectMarks(MouseFunction left, MouseFunction right) {
        EXPECT_EQ(form->LabelRotateLeft->isHidden() == false, left == Rotate);
        EXPECT_EQ(form->LabelMoveLeft->isHidden() == false, left == Move);
        EXPECT_EQ(form->LabelScaleLeft->isHidden() == false, left == Scale);
        EXPECT_EQ(form->LabelRotateRight->isHidden() == false, right == Rotate);
        EXPECT_EQ(form->LabelMoveRight->isHidden() == false, right == Move);
        EXPECT_EQ(form->LabelScaleRight->isHidden() == false, right == Scale);
    }
};

TEST_F(NavigationTest, PicturesAssignFunctionsToTheClickingButton) {
    ExpectMarks(Rotate, Move);
    ClickPicture(form->Image_zoom, Qt::LeftButton);
    ExpectMarks(Scale, Move);
    ClickPicture(form->Image_rotate, Qt::RightButton);
    ExpectMarks(Scale, Rotate);
    EXPECT_EQ(form->Navigation.LeftButtonFunction, Scale);
    EXPECT_EQ(form->Navigation.RightButtonFunction, Rotate);
    // The middle button is ignored on the pictures.
    ClickPicture(form->Image_position, Qt::MiddleButton);
    ExpectMarks(Scale, Rotate);
}

TEST_F(NavigationTest, ScalingTenPixelsDownFromTheDefaultGives3621) {
    ShowChart();
    ClickPicture(form->Image_zoom, Qt::LeftButton);
    Drag(Qt::LeftButton, {40, 40}, {40, 50});
    EXPECT_EQ(form->ScrollBarScale->value(), 3621);
    EXPECT_TRUE(HasCursor(kCursorScale));
    QTest::mouseRelease(Panel(), Qt::LeftButton, {}, {40, 50});
    EXPECT_FALSE(form->Navigation.LeftButtonHeld);
}

TEST_F(NavigationTest, ScalingStopsAtTheScrollBarsMinimum) {
    ShowChart();
    ClickPicture(form->Image_zoom, Qt::RightButton);
    form->ScrollBarScale->setValue(1100);
    Drag(Qt::RightButton, {40, 10}, {40, 110});
    EXPECT_EQ(form->ScrollBarScale->value(), kScaleMin);
    QTest::mouseRelease(Panel(), Qt::RightButton, {}, {40, 110});
}

TEST_F(NavigationTest, BeforeTheChartHasDataDragsChangeNothing) {
    ASSERT_FALSE(form->ChartReady);
    Drag(Qt::RightButton, {10, 10}, {60, 60});
    EXPECT_EQ(form->Navigation.ShiftX, -50);
    EXPECT_EQ(form->Navigation.ShiftY, -900);
    // The press itself is recorded.
    EXPECT_TRUE(form->Navigation.RightButtonHeld);
    EXPECT_EQ(form->Navigation.LastMouseX, 10);
    QTest::mouseRelease(Panel(), Qt::RightButton, {}, {60, 60});
}

TEST_F(NavigationTest, BothButtonsWithTheSameFunctionMoveOncePerPixel) {
    ShowChart();
    ClickPicture(form->Image_position, Qt::LeftButton);
    QTest::mousePress(Panel(), Qt::LeftButton, {}, {30, 30});
    QTest::mousePress(Panel(), Qt::RightButton, {}, {30, 30});
    QTest::mouseMove(Panel(), {40, 35});
    EXPECT_EQ(form->Navigation.ShiftX, -50 + 100);
    EXPECT_EQ(form->Navigation.ShiftY, -900 - 50);
}

TEST_F(NavigationTest, TheMiddleButtonActsAsTheLeftOneOnThePanel) {
    ShowChart();
    Drag(Qt::MiddleButton, {50, 50}, {60, 50});
    EXPECT_FLOAT_EQ(form->Navigation.TurnAngle, 5.0f);
    EXPECT_TRUE(HasCursor(kCursorRotate));
    QTest::mouseRelease(Panel(), Qt::MiddleButton, {}, {60, 50});
    EXPECT_FALSE(form->Navigation.LeftButtonHeld);
    EXPECT_FALSE(Panel()->testAttribute(Qt::WA_SetCursor));
}

TEST_F(NavigationTest, AutoRotationOnlyOnTheChartPage) {
    ShowChart();
    form->TimerAutoRotationTimer();
    EXPECT_FLOAT_EQ(form->Navigation.TurnAngle, 359.0f);
    form->TrackBarAutoRotation->setValue(30);
    form->TimerAutoRotationTimer();
    EXPECT_FLOAT_EQ(form->Navigation.TurnAngle, 356.0f);

    form->CheckBoxAutoRotation->setChecked(false);
    form->TimerAutoRotationTimer();
    EXPECT_FLOAT_EQ(form->Navigation.TurnAngle, 356.0f);

    form->CheckBoxAutoRotation->setChecked(true);
    form->Funkcja1->trigger();
    form->TimerAutoRotationTimer();
    EXPECT_FLOAT_EQ(form->Navigation.TurnAngle, 356.0f);
}

TEST_F(NavigationTest, TheAutoRotationTimerTurnsTheChart) {
    ShowChart();
    form->TimerAutoRotation->start();
    QTRY_VERIFY(form->Navigation.TurnAngle > 300.0f);
}

TEST_F(NavigationTest, AutoRotationWaitsForChartData) {
    form->Wykresfunkcji1->trigger();  // the page without reading the function
    form->TimerAutoRotationTimer();
    EXPECT_FLOAT_EQ(form->Navigation.TurnAngle, 0.0f);
}

TEST_F(NavigationTest, DefaultRestoresTheViewTheStylesAndTheButtons) {
    ShowChart();
    ClickPicture(form->Image_zoom, Qt::LeftButton);
    ClickPicture(form->Image_rotate, Qt::RightButton);
    Drag(Qt::RightButton, {10, 10}, {30, 40});
    QTest::mouseRelease(Panel(), Qt::RightButton, {}, {30, 40});
    form->Navigation.ShiftX = 123;
    form->ScrollBarScale->setValue(7000);
    form->CheckBoxPolygon->setChecked(false);
    form->CheckBoxFrames->setChecked(true);
    form->CheckBoxWireframe->setChecked(true);
    form->CheckBoxShading->setChecked(false);
    form->UsesSpiral = true;

    QTest::mouseClick(form->BitBtnReset, Qt::LeftButton);
    EXPECT_FLOAT_EQ(form->Navigation.TiltAngle, -90.0f);
    EXPECT_FLOAT_EQ(form->Navigation.TurnAngle, 0.0f);
    EXPECT_EQ(form->Navigation.ShiftX, -50);
    EXPECT_EQ(form->Navigation.ShiftY, -900);
    EXPECT_EQ(form->ScrollBarScale->value(), 4000);
    EXPECT_TRUE(form->CheckBoxPolygon->isChecked());
    EXPECT_FALSE(form->CheckBoxFrames->isChecked());
    EXPECT_FALSE(form->CheckBoxWireframe->isChecked());
    EXPECT_FALSE(form->CheckBoxShading->isChecked());  // not a part of the view
    EXPECT_FALSE(form->UsesSpiral);
    ExpectMarks(Rotate, Move);
}

}  // namespace
}  // namespace quarmel::test
