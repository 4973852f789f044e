// The chart's view from the window: the three pictures with their "L" and "R" marks, drags on
// the chart panel with real mouse events, the distance scroll bar, auto-rotation and "Default".
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>

#include <cmath>
#include <functional>

#include "WindowFixture.h"
#include "app/text/NumberText.h"
#include "chart/SurfacePick.h"
#include "ui/chart/PanelChart.h"

namespace quarmel::test {
namespace {

class NavigationTest : public WindowTest {
  protected:
    // Auto-rotation would turn the chart under the tests' feet; they call its handler instead.
    void SetUp() override {
        WindowTest::SetUp();
        Ctl<QTimer>("TimerAutoRotation")->stop();
    }

    // Shows the chart page by its tab and waits for the first progress tick to give the chart
    // its data.
    void ShowChart() {
        ClickTab(Ctl<QWidget>("TabSheetChart"));
        WAIT_FOR(Chart()->ChartReady());
    }

    void ClickPicture(QLabel* picture, Qt::MouseButton button) {
        QTest::mouseClick(picture, button, {}, picture->rect().center());
    }

    QWidget* Panel() const { return Ctl<PanelChart>("PanelChart"); }

    // Whether the panel shows the registered cursor of that number.
    bool HasCursor(int number) const {
        return Panel()->testAttribute(Qt::WA_SetCursor) &&
               Panel()->cursor().pixmap().cacheKey() ==
                   Chart()->PanelCursor(number).pixmap().cacheKey();
    }

    // Presses a button on the panel at `from` and drags it to `to`.
    void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
        QTest::mousePress(Panel(), button, {}, from);
        QTest::mouseMove(Panel(), to);
    }

    void ExpectMarks(MouseFunction left, MouseFunction right) {
        EXPECT_EQ(Ctl<QLabel>("LabelRotateLeft")->isHidden() == false, left == Rotate);
        EXPECT_EQ(Ctl<QLabel>("LabelMoveLeft")->isHidden() == false, left == Move);
        EXPECT_EQ(Ctl<QLabel>("LabelScaleLeft")->isHidden() == false, left == Scale);
        EXPECT_EQ(Ctl<QLabel>("LabelRotateRight")->isHidden() == false, right == Rotate);
        EXPECT_EQ(Ctl<QLabel>("LabelMoveRight")->isHidden() == false, right == Move);
        EXPECT_EQ(Ctl<QLabel>("LabelScaleRight")->isHidden() == false, right == Scale);
    }
};

TEST_F(NavigationTest, PicturesAssignFunctionsToTheClickingButton) {
    ExpectMarks(Rotate, Move);
    ClickPicture(Ctl<QLabel>("Image_zoom"), Qt::LeftButton);
    ExpectMarks(Scale, Move);
    ClickPicture(Ctl<QLabel>("Image_rotate"), Qt::RightButton);
    ExpectMarks(Scale, Rotate);
    EXPECT_EQ(Chart()->Navigation().LeftButtonFunction, Scale);
    EXPECT_EQ(Chart()->Navigation().RightButtonFunction, Rotate);
    // The middle button is ignored on the pictures.
    ClickPicture(Ctl<QLabel>("Image_position"), Qt::MiddleButton);
    ExpectMarks(Scale, Rotate);
}

TEST_F(NavigationTest, ScalingTenPixelsDownFromTheDefaultGives3621) {
    ShowChart();
    ClickPicture(Ctl<QLabel>("Image_zoom"), Qt::LeftButton);
    Drag(Qt::LeftButton, {40, 40}, {40, 50});
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarScale")->value(), 3621);
    EXPECT_TRUE(HasCursor(kCursorScale));
    QTest::mouseRelease(Panel(), Qt::LeftButton, {}, {40, 50});
    EXPECT_FALSE(Chart()->Navigation().LeftButtonHeld);
}

TEST_F(NavigationTest, ScalingStopsAtTheScrollBarsMinimum) {
    ShowChart();
    ClickPicture(Ctl<QLabel>("Image_zoom"), Qt::RightButton);
    Ctl<QScrollBar>("ScrollBarScale")->setValue(1100);
    Drag(Qt::RightButton, {40, 10}, {40, 110});
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarScale")->value(), kScaleMin);
    QTest::mouseRelease(Panel(), Qt::RightButton, {}, {40, 110});
}

TEST_F(NavigationTest, BeforeTheChartHasDataDragsChangeNothing) {
    ASSERT_FALSE(Chart()->ChartReady());
    Drag(Qt::RightButton, {10, 10}, {60, 60});
    EXPECT_EQ(Chart()->Navigation().ShiftX, -50);
    EXPECT_EQ(Chart()->Navigation().ShiftY, -900);
    // The press itself is recorded.
    EXPECT_TRUE(Chart()->Navigation().RightButtonHeld);
    EXPECT_EQ(Chart()->Navigation().LastMouseX, 10);
    QTest::mouseRelease(Panel(), Qt::RightButton, {}, {60, 60});
}

TEST_F(NavigationTest, BothButtonsWithTheSameFunctionMoveOncePerPixel) {
    ShowChart();
    ClickPicture(Ctl<QLabel>("Image_position"), Qt::LeftButton);
    QTest::mousePress(Panel(), Qt::LeftButton, {}, {30, 30});
    QTest::mousePress(Panel(), Qt::RightButton, {}, {30, 30});
    QTest::mouseMove(Panel(), {40, 35});
    EXPECT_EQ(Chart()->Navigation().ShiftX, -50 + 100);
    EXPECT_EQ(Chart()->Navigation().ShiftY, -900 - 50);
}

TEST_F(NavigationTest, TheMiddleButtonActsAsTheLeftOneOnThePanel) {
    ShowChart();
    Drag(Qt::MiddleButton, {50, 50}, {60, 50});
    EXPECT_FLOAT_EQ(Chart()->Navigation().TurnAngle, 5.0f);
    EXPECT_TRUE(HasCursor(kCursorRotate));
    QTest::mouseRelease(Panel(), Qt::MiddleButton, {}, {60, 50});
    EXPECT_FALSE(Chart()->Navigation().LeftButtonHeld);
    EXPECT_FALSE(Panel()->testAttribute(Qt::WA_SetCursor));
}

TEST_F(NavigationTest, AutoRotationOnlyOnTheChartPage) {
    ShowChart();
    Chart()->TimerAutoRotationTimer();
    EXPECT_FLOAT_EQ(Chart()->Navigation().TurnAngle, 359.0f);
    Ctl<QSlider>("TrackBarAutoRotation")->setValue(30);
    Chart()->TimerAutoRotationTimer();
    EXPECT_FLOAT_EQ(Chart()->Navigation().TurnAngle, 356.0f);

    Ctl<QCheckBox>("CheckBoxAutoRotation")->setChecked(false);
    Chart()->TimerAutoRotationTimer();
    EXPECT_FLOAT_EQ(Chart()->Navigation().TurnAngle, 356.0f);

    Ctl<QCheckBox>("CheckBoxAutoRotation")->setChecked(true);
    Ctl<QAction>("Funkcja1")->trigger();
    Chart()->TimerAutoRotationTimer();
    EXPECT_FLOAT_EQ(Chart()->Navigation().TurnAngle, 356.0f);
}

TEST_F(NavigationTest, TheAutoRotationTimerTurnsTheChart) {
    ShowChart();
    Ctl<QTimer>("TimerAutoRotation")->start();
    WAIT_FOR(Chart()->Navigation().TurnAngle > 300.0f);
}

TEST_F(NavigationTest, AutoRotationWaitsForChartData) {
    Ctl<QAction>("Wykresfunkcji1")->trigger();  // the page without reading the function
    Chart()->TimerAutoRotationTimer();
    EXPECT_FLOAT_EQ(Chart()->Navigation().TurnAngle, 0.0f);
}

// State: the Chart page shown, nothing running, auto-rotation stopped. Action: chart ticks with
// nothing changed, then a change of each kind the chart timer brings. Expected: no frame for the
// idle ticks, a frame after each change.
TEST_F(NavigationTest, AnIdleChartDrawsOnlyAfterAChange) {
    ShowChart();
    const PanelChart* panel = Ctl<PanelChart>("PanelChart");
    WAIT_FOR(panel->FramesRendered() > 0);
    QTest::qWait(200);
    // The surface, not the flat grid the first frame leaves in the model.
    EXPECT_NE(panel->Chart().Vertices[0].Red, 0.0f);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"a drag",
         [&] {
             Drag(Qt::LeftButton, {50, 50}, {60, 50});
         }},
        {"a turn of the auto-rotation", [&] { Chart()->TimerAutoRotationTimer(); }},
        {"new solutions", [&] { Chart()->NoteChange(ListChange::Grown); }},
    };
    for (const auto& [change, make] : changes) {
        const int frames = panel->FramesRendered();
        QTest::qWait(10 * Ctl<QTimer>("TimerChart")->interval());
        EXPECT_EQ(panel->FramesRendered(), frames) << "idle before " << change;
        make();
        WAIT_FOR(panel->FramesRendered() > frames) << change;
    }
    QTest::mouseRelease(Panel(), Qt::LeftButton, {}, {60, 50});
}

TEST_F(NavigationTest, DefaultRestoresTheViewTheStylesAndTheButtons) {
    ShowChart();
    ClickPicture(Ctl<QLabel>("Image_zoom"), Qt::LeftButton);
    ClickPicture(Ctl<QLabel>("Image_rotate"), Qt::RightButton);
    Drag(Qt::RightButton, {10, 10}, {30, 40});
    QTest::mouseRelease(Panel(), Qt::RightButton, {}, {30, 40});
    ClickPicture(Ctl<QLabel>("Image_position"), Qt::LeftButton);
    Drag(Qt::LeftButton, {10, 10}, {40, 10});
    QTest::mouseRelease(Panel(), Qt::LeftButton, {}, {40, 10});
    ASSERT_NE(Chart()->Navigation().ShiftX, -50);
    Ctl<QScrollBar>("ScrollBarScale")->setValue(7000);
    Ctl<QCheckBox>("CheckBoxPolygon")->setChecked(false);
    Ctl<QCheckBox>("CheckBoxFrames")->setChecked(true);
    Ctl<QCheckBox>("CheckBoxWireframe")->setChecked(true);
    Ctl<QCheckBox>("CheckBoxShading")->setChecked(false);
    Ctl<QLineEdit>("EditFunction")->setText("spiral(x;y)+c");
    ASSERT_EQ(form->ReadFunctionPage(true), 0);
    ASSERT_TRUE(Chart()->SpiralMode());

    QTest::mouseClick(Ctl<QPushButton>("BitBtnReset"), Qt::LeftButton);
    EXPECT_FLOAT_EQ(Chart()->Navigation().TiltAngle, -90.0f);
    EXPECT_FLOAT_EQ(Chart()->Navigation().TurnAngle, 0.0f);
    EXPECT_EQ(Chart()->Navigation().ShiftX, -50);
    EXPECT_EQ(Chart()->Navigation().ShiftY, -900);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarScale")->value(), 4000);
    EXPECT_TRUE(Ctl<QCheckBox>("CheckBoxPolygon")->isChecked());
    EXPECT_FALSE(Ctl<QCheckBox>("CheckBoxFrames")->isChecked());
    EXPECT_FALSE(Ctl<QCheckBox>("CheckBoxWireframe")->isChecked());
    EXPECT_FALSE(Ctl<QCheckBox>("CheckBoxShading")->isChecked());  // not a part of the view
    EXPECT_FALSE(Chart()->SpiralMode());
    ExpectMarks(Rotate, Move);
}

// State: the start-up problem's chart. Action: a double click on the surface, then Ctrl+Z.
// Expected: the surface point's X and Y values become the defaults of x and y on the Function
// page, read as typed, and the point is marked; Ctrl+Z puts the defaults back, unmarked.
TEST_F(NavigationTest, ADoubleClickOnTheSurfacePicksTheStartAndCtrlZPutsItBack) {
    ShowChart();
    auto* table = Ctl<QTableWidget>("StringGridVariables");
    const QString x0 = table->item(0, 3)->text(), y0 = table->item(1, 3)->text();
    const ChartModel& model = Chart()->Panel()->Chart();
    const int w = Panel()->width(), h = Panel()->height();
    auto pick = [&](QPoint at) {
        return PickSurface(model, Chart()->CurrentChartFrame(), 2.0 * (at.x() + 0.5) / w - 1.0,
                           1.0 - 2.0 * (at.y() + 0.5) / h);
    };
    QPoint on(w / 2, h - 1);
    while (on.y() > 0 && !pick(on)) on.ry() -= 4;
    const std::optional<ScenePoint> hit = pick(on);
    ASSERT_TRUE(hit);
    const AxisValues at = ValuesAt(model, *hit);
    QTest::mouseDClick(Panel(), Qt::LeftButton, {}, on);
    EXPECT_EQ(table->item(0, 3)->text().toStdString(), GeneralText(at.X, 6));
    EXPECT_EQ(table->item(1, 3)->text().toStdString(), GeneralText(at.Y, 6));
    EXPECT_EQ(model.PickedPoint().size(), 3u);
    // A run reads them as typed.
    ASSERT_EQ(form->ReadFunctionPage(false), 0);
    EXPECT_NEAR(form->Parameters.Variables()[0].Default, at.X, 1e-4 * (1 + std::fabs(at.X)));
    EXPECT_NEAR(form->Parameters.Variables()[1].Default, at.Y, 1e-4 * (1 + std::fabs(at.Y)));

    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(table->item(0, 3)->text(), x0);
    EXPECT_EQ(table->item(1, 3)->text(), y0);
    EXPECT_TRUE(model.PickedPoint().empty());
}

}  // namespace
}  // namespace quarmel::test
