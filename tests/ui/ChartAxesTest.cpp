// The chart page's axis lists and display-range controls.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

#include "chart/ChartModel.h"
#include "ui/PanelChart.h"

#include "WindowFixture.h"

namespace quarmel::test {
namespace {

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

class ChartAxes : public WindowTest {
  protected:
    int ReadForChart() { return form->ReadFunctionPage(false); }

    void ChooseY(int index) {
        form->ComboBoxAxeY->setCurrentIndex(index);
        emit form->ComboBoxAxeY->activated(index);
    }
    void ChooseX(int index) {
        form->ComboBoxAxeX->setCurrentIndex(index);
        emit form->ComboBoxAxeX->activated(index);
    }
    void Enter(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
};

TEST_F(ChartAxes, TwoOrMoreVariablesGiveTwoAxes) {
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(Items(form->ComboBoxAxeX), QStringList({"x", "y", "c"}));
    EXPECT_EQ(Items(form->ComboBoxAxeY), QStringList({"-", "x", "y", "c"}));
    EXPECT_EQ(form->ComboBoxAxeX->currentIndex(), 0);
    EXPECT_EQ(form->ComboBoxAxeY->currentIndex(), 2);
    EXPECT_EQ(form->AxisXVariable, 0);
    EXPECT_EQ(form->AxisYVariable, 1);

    EXPECT_EQ(form->ScrollBarMinX->minimum(), -50);
    EXPECT_EQ(form->ScrollBarMinX->maximum(), 50);
    EXPECT_EQ(form->ScrollBarMinX->value(), -50);
    EXPECT_EQ(form->ScrollBarMaxX->value(), 50);
    EXPECT_EQ(form->ScrollBarMinY->minimum(), -40);
    EXPECT_EQ(form->ScrollBarMaxY->maximum(), 40);
    EXPECT_EQ(form->ScrollBarMinY->value(), -40);
    EXPECT_EQ(form->ScrollBarMaxY->value(), 40);
    EXPECT_EQ(form->EditMinX->text(), "-50");
    EXPECT_EQ(form->EditMaxX->text(), "50");
    EXPECT_EQ(form->EditMinY->text(), "-40");
    EXPECT_EQ(form->EditMaxY->text(), "40");
    for (QWidget* w : std::initializer_list<QWidget*>{form->ScrollBarMinY, form->ScrollBarMaxY,
                                                      form->EditMinY, form->EditMaxY}) {
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    }

    ASSERT_EQ(form->SurfaceSamples.size(), 10000u);
    EXPECT_FLOAT_EQ(form->DisplayXMin, -50);
    EXPECT_FLOAT_EQ(form->DisplayYMax, 40);
    // Sample 0 is at x = -50, y = -40 with c at its default 5: 2500 + 1764 + 15.
    EXPECT_FLOAT_EQ(form->SurfaceSamples[0], 4279);
}

TEST_F(ChartAxes, OneVariableGivesACurveAndNoYAxis) {
    form->EditFunction->setText("x^2");
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(Items(form->ComboBoxAxeX), QStringList({"x"}));
    EXPECT_EQ(Items(form->ComboBoxAxeY), QStringList({"-"}));
    EXPECT_EQ(form->ComboBoxAxeY->currentIndex(), 0);
    EXPECT_EQ(form->SurfaceSamples.size(), 100u);
    EXPECT_FLOAT_EQ(form->DisplayYMin, 0);
    EXPECT_FLOAT_EQ(form->DisplayYMax, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{form->ScrollBarMinY, form->ScrollBarMaxY,
                                                      form->EditMinY, form->EditMaxY}) {
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    }
}

TEST_F(ChartAxes, NoVariablesGiveAConstantSurface) {
    form->EditFunction->setText("7");
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(form->ComboBoxAxeX->count(), 0);
    ASSERT_EQ(form->SurfaceSamples.size(), 10000u);
    EXPECT_FLOAT_EQ(form->SurfaceSamples[9999], 7);
    EXPECT_FLOAT_EQ(form->DisplayXMax, 0);
    EXPECT_FLOAT_EQ(form->HeightMax, 0);
}

TEST_F(ChartAxes, DashForYGivesACurveAndKeepsTheYTexts) {
    ASSERT_EQ(ReadForChart(), 0);
    ChooseY(0);
    EXPECT_EQ(form->AxisYVariable, -1);
    EXPECT_EQ(form->SurfaceSamples.size(), 100u);
    EXPECT_FALSE(form->ScrollBarMinY->isEnabled());
    EXPECT_FALSE(form->EditMaxY->isEnabled());
    EXPECT_EQ(form->EditMinY->text(), "-40");
    EXPECT_EQ(form->EditMaxY->text(), "40");
}

TEST_F(ChartAxes, ReReadingKeepsYAndPutsTheFirstVariableOnX) {
    ASSERT_EQ(ReadForChart(), 0);
    ChooseX(1);
    ChooseY(3);
    EXPECT_EQ(form->AxisXVariable, 1);
    EXPECT_EQ(form->AxisYVariable, 2);
    EXPECT_EQ(form->EditMinY->text(), "1");
    EXPECT_EQ(form->EditMaxY->text(), "15");
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(form->ComboBoxAxeX->currentIndex(), 0);
    EXPECT_EQ(form->ComboBoxAxeY->currentIndex(), 3);
    EXPECT_EQ(form->AxisXVariable, 0);
    EXPECT_EQ(form->AxisYVariable, 2);
}

TEST_F(ChartAxes, RangeBarsKeepTheirOrder) {
    ASSERT_EQ(ReadForChart(), 0);
    form->ScrollBarMinX->setValue(form->ScrollBarMaxX->value());
    EXPECT_EQ(form->ScrollBarMinX->value(), 49);
    EXPECT_EQ(form->EditMinX->text(), "49");
    EXPECT_FLOAT_EQ(form->DisplayXMin, 49);

    form->ScrollBarMaxY->setValue(-40);
    EXPECT_EQ(form->ScrollBarMaxY->value(), -39);
    EXPECT_EQ(form->EditMaxY->text(), "-39");
    EXPECT_FLOAT_EQ(form->DisplayYMax, -39);

    // The bar that moved is the one that steps aside.
    form->ScrollBarMaxX->setValue(50);
    form->ScrollBarMinX->setValue(50);
    EXPECT_EQ(form->ScrollBarMinX->value(), 49);
    form->ScrollBarMinX->setValue(-50);
    form->ScrollBarMaxX->setValue(-50);
    EXPECT_EQ(form->ScrollBarMaxX->value(), -49);
    EXPECT_EQ(form->EditMaxX->text(), "-49");
}

TEST_F(ChartAxes, TypedLimitOutsideTheBarsRangeIsWrongData) {
    SetRow(1, "x", "-2,5", "2,5", "0");
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(form->ScrollBarMinX->minimum(), -2);
    EXPECT_EQ(form->ScrollBarMinX->maximum(), 2);
    EXPECT_EQ(form->EditMinX->text(), "-2,5");
    QTest::keyClick(form->EditMinX, Qt::Key_Return);
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>({"Wrong data !"}));
    EXPECT_EQ(form->EditMinX->text(), "-2,5");

    // Inside the range it is sampled; the bar stays where it was, the minimum is not compared
    // with the maximum.
    dialogs.shown.clear();
    Enter(form->EditMinX, "1,5");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FLOAT_EQ(form->DisplayXMin, 1.5f);
    EXPECT_EQ(form->ScrollBarMinX->value(), -2);
    Enter(form->EditMaxX, "-1");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FLOAT_EQ(form->DisplayXMax, -1.0f);
}

TEST_F(ChartAxes, LimitsBetweenWholeUnitsLeaveOnlyZero) {
    SetRow(1, "x", "0,2", "0,8", "0,5");
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(form->ScrollBarMinX->minimum(), 0);
    EXPECT_EQ(form->ScrollBarMinX->maximum(), 0);
    EXPECT_EQ(form->ScrollBarMaxX->maximum(), 0);
    EXPECT_EQ(form->EditMinX->text(), "0,2");
    EXPECT_EQ(form->EditMaxX->text(), "0,8");
    EXPECT_FLOAT_EQ(form->DisplayXMin, 0.2f);
    EXPECT_FLOAT_EQ(form->DisplayXMax, 0.8f);
    Enter(form->EditMaxX, "0,5");
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>({"Wrong data !"}));
    Enter(form->EditMaxX, "0");
    EXPECT_EQ(dialogs.Messages().size(), 1u);
}

TEST_F(ChartAxes, NonNumericLimitIsAConversionError) {
    ASSERT_EQ(ReadForChart(), 0);
    Enter(form->EditMinY, "abc");
    EXPECT_EQ(dialogs.Errors(),
              std::vector<std::string>({"'abc' is not a valid floating point value."}));
    // Other keys are typed normally.
    form->EditMinY->clear();
    QTest::keyClicks(form->EditMinY, "-3");
    EXPECT_EQ(form->EditMinY->text(), "-3");
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(ChartAxes, MinimumAboveMaximumStillGivesUsableBars) {
    SetRow(1, "x", "5", "-5", "0");
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(form->ScrollBarMinX->minimum(), -5);
    EXPECT_EQ(form->ScrollBarMinX->maximum(), 5);
    EXPECT_EQ(form->EditMinX->text(), "5");
    EXPECT_EQ(form->EditMaxX->text(), "-5");
    EXPECT_FLOAT_EQ(form->DisplayXMin, 5);
}

TEST_F(ChartAxes, RangeBarsBeforeAnyReadingDoNoHarm) {
    form->ScrollBarMinX->setValue(2);
    form->ScrollBarMaxX->setValue(1);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(form->SurfaceSamples.empty());
}

TEST_F(ChartAxes, RangeGroupsShareThePageWidth) {
    form->Wykresfunkcji1->trigger();
    form->resize(900, 700);
    QApplication::processEvents();
    const int w = (form->TabSheetChart->width() - form->GroupBoxRangeMin->x() - 8) / 2;
    EXPECT_EQ(form->GroupBoxRangeMin->width(), w);
    EXPECT_EQ(form->GroupBoxRangeMax->width(), w);
    EXPECT_EQ(form->GroupBoxRangeMax->x(), form->GroupBoxRangeMin->x() + w - 2);
    EXPECT_EQ(form->EditMinX->x(), w - 42);
    EXPECT_EQ(form->EditMaxY->x(), w - 42);
    EXPECT_EQ(form->ScrollBarMaxX->width(), form->ScrollBarMinX->width());
    EXPECT_EQ(form->ScrollBarMaxY->x(), form->ScrollBarMinX->x());
}

TEST_F(ChartAxes, DisplayOptionsStartAsSet) {
    const std::tuple<QCheckBox*, const char*, bool> boxes[] = {
        {form->CheckBoxPolygon, "Polygons", true},
        {form->CheckBoxFrames, "Lines", false},
        {form->CheckBoxWireframe, "Points", false},
        {form->CheckBoxShading, "Shading", true},
        {form->CheckBoxAxes, "Axes", true},
        {form->CheckBoxAxesDesc, "Axes description", false},
        {form->CheckBoxSolution, "Solution", true}};
    for (const auto& [box, caption, checked] : boxes) {
        EXPECT_EQ(box->text(), caption);
        EXPECT_EQ(box->isChecked(), checked) << caption;
    }
    EXPECT_EQ(form->ComboBoxAxeX->toolTip(), "Set axis X");
    EXPECT_EQ(form->EditMinX->toolTip(), "Enter accurate value");
    EXPECT_EQ(form->ScrollBarMaxY->toolTip(), "Set display range");
    EXPECT_EQ(form->EditMinX->text(), "0");
    EXPECT_EQ(form->ScrollBarMinX->value(), 5);
    EXPECT_EQ(form->ScrollBarMinX->maximum(), 10);
    EXPECT_EQ(form->ScrollBarMinX->pageStep(), 5);
}

}  // namespace
}  // namespace quarmel::test

namespace quarmel::test {
namespace {

using ChartPanel = WindowTest;

TEST_F(ChartPanel, EnteringByTabHandsTheChartItsSurface) {
    EXPECT_FALSE(form->ChartReady);
    ClickTab(form->TabSheetChart);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->ChartReady; }, 3000));
    const ChartModel& chart = form->PanelChart->Chart();
    EXPECT_FLOAT_EQ(chart.XMin, -50);
    EXPECT_FLOAT_EQ(chart.XMax, 50);
    EXPECT_FLOAT_EQ(chart.YMin, -40);
    EXPECT_FLOAT_EQ(chart.YMax, 40);
    EXPECT_FLOAT_EQ(chart.ZMin, form->HeightMin);
    EXPECT_FLOAT_EQ(chart.ZMax, form->HeightMax);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->PanelChart->FramesRendered() > 0; }, 3000));
}

TEST_F(ChartPanel, MarkersFollowTheChosenAxes) {
    ASSERT_EQ(form->ReadFunctionPage(false), 0);
    form->RunSolutions.Append(Solution{{1, 2, 3}, 10});
    form->RunSolutions.Append(Solution{{4, 5, 6}, 20});
    form->Wykresfunkcji1->trigger();
    form->TimerChartTimer();
    // Two axes: (x, y, f) per solution.
    EXPECT_EQ(form->PanelChart->Chart().SolutionPoints(), std::vector<float>({1, 2, 10, 4, 5, 20}));
    // Y is "-": (x, f) pairs, x being the variable chosen for X.
    form->ComboBoxAxeX->setCurrentIndex(2);
    form->ComboBoxAxeY->setCurrentIndex(0);
    emit form->ComboBoxAxeY->activated(0);
    EXPECT_EQ(form->PanelChart->Chart().SolutionPoints(), std::vector<float>({3, 10, 6, 20}));
}

TEST_F(ChartPanel, FramesFollowTheDisplayOptionsAndTheScale) {
    form->CheckBoxPolygon->setChecked(false);
    form->CheckBoxFrames->setChecked(true);
    form->CheckBoxAxesDesc->setChecked(true);
    form->ScrollBarScale->setValue(2500);
    const ChartFrame frame = form->CurrentChartFrame();
    EXPECT_FALSE(frame.ShowPolygons);
    EXPECT_TRUE(frame.ShowLines);
    EXPECT_TRUE(frame.ShowAxesDescription);
    EXPECT_FALSE(frame.ShowPoints);
    EXPECT_TRUE(frame.SmoothShading);
    EXPECT_FLOAT_EQ(frame.Distance, 2500);
    EXPECT_FLOAT_EQ(frame.TiltAngle, -90);
    EXPECT_FLOAT_EQ(frame.ShiftY, -900);
}

TEST_F(ChartPanel, NothingIsDrawnBeforeTheChartHasData) {
    form->Wykresfunkcji1->trigger();
    form->RedrawChart();
    QApplication::processEvents();
    EXPECT_FALSE(form->ChartReady);
    EXPECT_FALSE(form->PanelChart->ChartReady());
    EXPECT_EQ(form->PanelChart->FramesRendered(), 0);
}

}  // namespace
}  // namespace quarmel::test
