// The chart page's axis lists and display-range controls.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

#include "chart/ChartModel.h"
#include "ui/chart/PanelChart.h"

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
        Ctl<QComboBox>("ComboBoxAxeY")->setCurrentIndex(index);
        emit Ctl<QComboBox>("ComboBoxAxeY")->activated(index);
    }
    void ChooseX(int index) {
        Ctl<QComboBox>("ComboBoxAxeX")->setCurrentIndex(index);
        emit Ctl<QComboBox>("ComboBoxAxeX")->activated(index);
    }
    void Enter(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
};

TEST_F(ChartAxes, TwoOrMoreVariablesGiveTwoAxes) {
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(Items(Ctl<QComboBox>("ComboBoxAxeX")), QStringList({"x", "y", "c"}));
    EXPECT_EQ(Items(Ctl<QComboBox>("ComboBoxAxeY")), QStringList({"-", "x", "y", "c"}));
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeX")->currentIndex(), 0);
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeY")->currentIndex(), 2);
    EXPECT_EQ(Chart()->AxisXVariable(), 0);
    EXPECT_EQ(Chart()->AxisYVariable(), 1);

    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->minimum(), -50);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->maximum(), 50);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->value(), -50);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMaxX")->value(), 50);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinY")->minimum(), -40);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMaxY")->maximum(), 40);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinY")->value(), -40);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMaxY")->value(), 40);
    EXPECT_EQ(Ctl<QLineEdit>("EditMinX")->text(), "-50");
    EXPECT_EQ(Ctl<QLineEdit>("EditMaxX")->text(), "50");
    EXPECT_EQ(Ctl<QLineEdit>("EditMinY")->text(), "-40");
    EXPECT_EQ(Ctl<QLineEdit>("EditMaxY")->text(), "40");
    for (QWidget* w : std::initializer_list<QWidget*>{
             Ctl<QScrollBar>("ScrollBarMinY"), Ctl<QScrollBar>("ScrollBarMaxY"),
             Ctl<QLineEdit>("EditMinY"), Ctl<QLineEdit>("EditMaxY")}) {
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    }

    ASSERT_EQ(Chart()->Surface().Samples.size(), 10000u);
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayXMin, -50);
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayYMax, 40);
    // Sample 0 is at x = -50, y = -40 with c at its default 5: 2500 + 1764 + 15.
    EXPECT_FLOAT_EQ(Chart()->Surface().Samples[0], 4279);
}

TEST_F(ChartAxes, OneVariableGivesACurveAndNoYAxis) {
    Ctl<QLineEdit>("EditFunction")->setText("x^2");
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(Items(Ctl<QComboBox>("ComboBoxAxeX")), QStringList({"x"}));
    EXPECT_EQ(Items(Ctl<QComboBox>("ComboBoxAxeY")), QStringList({"-"}));
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeY")->currentIndex(), 0);
    EXPECT_EQ(Chart()->Surface().Samples.size(), 100u);
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayYMin, 0);
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayYMax, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{
             Ctl<QScrollBar>("ScrollBarMinY"), Ctl<QScrollBar>("ScrollBarMaxY"),
             Ctl<QLineEdit>("EditMinY"), Ctl<QLineEdit>("EditMaxY")}) {
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    }
}

TEST_F(ChartAxes, NoVariablesGiveAConstantSurface) {
    Ctl<QLineEdit>("EditFunction")->setText("7");
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeX")->count(), 0);
    ASSERT_EQ(Chart()->Surface().Samples.size(), 10000u);
    EXPECT_FLOAT_EQ(Chart()->Surface().Samples[9999], 7);
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayXMax, 0);
    EXPECT_FLOAT_EQ(Chart()->Surface().HeightMax, 0);
}

TEST_F(ChartAxes, DashForYGivesACurveAndKeepsTheYTexts) {
    ASSERT_EQ(ReadForChart(), 0);
    ChooseY(0);
    EXPECT_EQ(Chart()->AxisYVariable(), -1);
    EXPECT_EQ(Chart()->Surface().Samples.size(), 100u);
    EXPECT_FALSE(Ctl<QScrollBar>("ScrollBarMinY")->isEnabled());
    EXPECT_FALSE(Ctl<QLineEdit>("EditMaxY")->isEnabled());
    EXPECT_EQ(Ctl<QLineEdit>("EditMinY")->text(), "-40");
    EXPECT_EQ(Ctl<QLineEdit>("EditMaxY")->text(), "40");
}

TEST_F(ChartAxes, ReReadingKeepsYAndPutsTheFirstVariableOnX) {
    ASSERT_EQ(ReadForChart(), 0);
    ChooseX(1);
    ChooseY(3);
    EXPECT_EQ(Chart()->AxisXVariable(), 1);
    EXPECT_EQ(Chart()->AxisYVariable(), 2);
    EXPECT_EQ(Ctl<QLineEdit>("EditMinY")->text(), "1");
    EXPECT_EQ(Ctl<QLineEdit>("EditMaxY")->text(), "15");
    // Calculate and Save read the page without setting the axes up: the lists show them as drawn.
    ASSERT_EQ(form->ReadFunctionPage(true), 0);
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeX")->currentText(), "y");
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeY")->currentIndex(), 3);
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeX")->currentIndex(), 0);
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeY")->currentIndex(), 3);
    EXPECT_EQ(Chart()->AxisXVariable(), 0);
    EXPECT_EQ(Chart()->AxisYVariable(), 2);
}

TEST_F(ChartAxes, RangeBarsKeepTheirOrder) {
    ASSERT_EQ(ReadForChart(), 0);
    Ctl<QScrollBar>("ScrollBarMinX")->setValue(Ctl<QScrollBar>("ScrollBarMaxX")->value());
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->value(), 49);
    EXPECT_EQ(Ctl<QLineEdit>("EditMinX")->text(), "49");
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayXMin, 49);

    Ctl<QScrollBar>("ScrollBarMaxY")->setValue(-40);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMaxY")->value(), -39);
    EXPECT_EQ(Ctl<QLineEdit>("EditMaxY")->text(), "-39");
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayYMax, -39);

    // The bar that moved is the one that steps aside.
    Ctl<QScrollBar>("ScrollBarMaxX")->setValue(50);
    Ctl<QScrollBar>("ScrollBarMinX")->setValue(50);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->value(), 49);
    Ctl<QScrollBar>("ScrollBarMinX")->setValue(-50);
    Ctl<QScrollBar>("ScrollBarMaxX")->setValue(-50);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMaxX")->value(), -49);
    EXPECT_EQ(Ctl<QLineEdit>("EditMaxX")->text(), "-49");
}

TEST_F(ChartAxes, TypedLimitOutsideTheBarsRangeIsWrongData) {
    SetRow(1, "x", "-2,5", "2,5", "0");
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->minimum(), -2);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->maximum(), 2);
    EXPECT_EQ(Ctl<QLineEdit>("EditMinX")->text(), "-2,5");
    QTest::keyClick(Ctl<QLineEdit>("EditMinX"), Qt::Key_Return);
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>({"Wrong data !"}));
    EXPECT_EQ(Ctl<QLineEdit>("EditMinX")->text(), "-2,5");

    // Inside the range it is sampled; the bar stays where it was, the minimum is not compared
    // with the maximum.
    dialogs.shown.clear();
    Enter(Ctl<QLineEdit>("EditMinX"), "1,5");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayXMin, 1.5f);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->value(), -2);
    Enter(Ctl<QLineEdit>("EditMaxX"), "-1");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayXMax, -1.0f);
}

TEST_F(ChartAxes, LimitsBetweenWholeUnitsLeaveOnlyZero) {
    SetRow(1, "x", "0,2", "0,8", "0,5");
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->minimum(), 0);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->maximum(), 0);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMaxX")->maximum(), 0);
    EXPECT_EQ(Ctl<QLineEdit>("EditMinX")->text(), "0,2");
    EXPECT_EQ(Ctl<QLineEdit>("EditMaxX")->text(), "0,8");
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayXMin, 0.2f);
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayXMax, 0.8f);
    Enter(Ctl<QLineEdit>("EditMaxX"), "0,5");
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>({"Wrong data !"}));
    Enter(Ctl<QLineEdit>("EditMaxX"), "0");
    EXPECT_EQ(dialogs.Messages().size(), 1u);
}

TEST_F(ChartAxes, NonNumericLimitIsAConversionError) {
    ASSERT_EQ(ReadForChart(), 0);
    Enter(Ctl<QLineEdit>("EditMinY"), "abc");
    EXPECT_EQ(dialogs.Errors(),
              std::vector<std::string>({"'abc' is not a valid floating point value."}));
    // Other keys are typed normally.
    Ctl<QLineEdit>("EditMinY")->clear();
    QTest::keyClicks(Ctl<QLineEdit>("EditMinY"), "-3");
    EXPECT_EQ(Ctl<QLineEdit>("EditMinY")->text(), "-3");
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(ChartAxes, MinimumAboveMaximumStillGivesUsableBars) {
    SetRow(1, "x", "5", "-5", "0");
    ASSERT_EQ(ReadForChart(), 0);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->minimum(), -5);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->maximum(), 5);
    EXPECT_EQ(Ctl<QLineEdit>("EditMinX")->text(), "5");
    EXPECT_EQ(Ctl<QLineEdit>("EditMaxX")->text(), "-5");
    EXPECT_FLOAT_EQ(Chart()->Surface().DisplayXMin, 5);
}

TEST_F(ChartAxes, RangeBarsBeforeAnyReadingDoNoHarm) {
    Ctl<QScrollBar>("ScrollBarMinX")->setValue(2);
    Ctl<QScrollBar>("ScrollBarMaxX")->setValue(1);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(Chart()->Surface().Samples.empty());
}

TEST_F(ChartAxes, RangeGroupsShareThePageWidth) {
    Ctl<QAction>("Wykresfunkcji1")->trigger();
    form->resize(900, 700);
    QApplication::processEvents();
    const int w =
        (Ctl<QWidget>("TabSheetChart")->width() - Ctl<QGroupBox>("GroupBoxRangeMin")->x() - 8) / 2;
    EXPECT_EQ(Ctl<QGroupBox>("GroupBoxRangeMin")->width(), w);
    EXPECT_EQ(Ctl<QGroupBox>("GroupBoxRangeMax")->width(), w);
    EXPECT_EQ(Ctl<QGroupBox>("GroupBoxRangeMax")->x(),
              Ctl<QGroupBox>("GroupBoxRangeMin")->x() + w - 2);
    EXPECT_EQ(Ctl<QLineEdit>("EditMinX")->x(), w - 42);
    EXPECT_EQ(Ctl<QLineEdit>("EditMaxY")->x(), w - 42);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMaxX")->width(), Ctl<QScrollBar>("ScrollBarMinX")->width());
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMaxY")->x(), Ctl<QScrollBar>("ScrollBarMinX")->x());
}

TEST_F(ChartAxes, DisplayOptionsStartAsSet) {
    const std::tuple<QCheckBox*, const char*, bool> boxes[] = {
        {Ctl<QCheckBox>("CheckBoxPolygon"), "Polygons", true},
        {Ctl<QCheckBox>("CheckBoxFrames"), "Lines", false},
        {Ctl<QCheckBox>("CheckBoxWireframe"), "Points", false},
        {Ctl<QCheckBox>("CheckBoxShading"), "Shading", true},
        {Ctl<QCheckBox>("CheckBoxAxes"), "Axes", true},
        {Ctl<QCheckBox>("CheckBoxAxesDesc"), "Axes description", false},
        {Ctl<QCheckBox>("CheckBoxSolution"), "Solution", true}};
    for (const auto& [box, caption, checked] : boxes) {
        EXPECT_EQ(box->text(), caption);
        EXPECT_EQ(box->isChecked(), checked) << caption;
    }
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeX")->toolTip(), "Set axis X");
    EXPECT_EQ(Ctl<QLineEdit>("EditMinX")->toolTip(), "Enter accurate value");
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMaxY")->toolTip(), "Set display range");
    EXPECT_EQ(Ctl<QLineEdit>("EditMinX")->text(), "0");
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->value(), 5);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->maximum(), 10);
    EXPECT_EQ(Ctl<QScrollBar>("ScrollBarMinX")->pageStep(), 5);
}

}  // namespace
}  // namespace quarmel::test

namespace quarmel::test {
namespace {

using ChartPanel = WindowTest;

TEST_F(ChartPanel, EnteringByTabHandsTheChartItsSurface) {
    EXPECT_FALSE(Chart()->ChartReady());
    ClickTab(Ctl<QWidget>("TabSheetChart"));
    // At once, not at the chart timer's first tick.
    ASSERT_TRUE(Chart()->ChartReady());
    const ChartModel& chart = Ctl<PanelChart>("PanelChart")->Chart();
    EXPECT_FLOAT_EQ(chart.XMin, -50);
    EXPECT_FLOAT_EQ(chart.XMax, 50);
    EXPECT_FLOAT_EQ(chart.YMin, -40);
    EXPECT_FLOAT_EQ(chart.YMax, 40);
    EXPECT_FLOAT_EQ(chart.ZMin, Chart()->Surface().HeightMin);
    EXPECT_FLOAT_EQ(chart.ZMax, Chart()->Surface().HeightMax);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return Ctl<PanelChart>("PanelChart")->FramesRendered() > 0; }, 3000));
}

TEST_F(ChartPanel, MarkersFollowTheChosenAxes) {
    SolutionList solutions;
    solutions.Append(Solution{{1, 2, 3}, 10});
    solutions.Append(Solution{{4, 5, 6}, 20});
    OpenWithSolutions(solutions);
    Ctl<QAction>("Wykresfunkcji1")->trigger();
    // Two axes: (x, y, f) per solution, from the chart timer's next tick.
    const std::vector<float> both{1, 2, 10, 4, 5, 20};
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Ctl<PanelChart>("PanelChart")->Chart().SolutionPoints() == both; }, 3000));
    EXPECT_EQ(Ctl<PanelChart>("PanelChart")->Chart().SolutionPoints(),
              std::vector<float>({1, 2, 10, 4, 5, 20}));
    // Y is "-": (x, f) pairs, x being the variable chosen for X.
    Ctl<QComboBox>("ComboBoxAxeX")->setCurrentIndex(2);
    Ctl<QComboBox>("ComboBoxAxeY")->setCurrentIndex(0);
    emit Ctl<QComboBox>("ComboBoxAxeY")->activated(0);
    EXPECT_EQ(Ctl<PanelChart>("PanelChart")->Chart().SolutionPoints(),
              std::vector<float>({3, 10, 6, 20}));
}

TEST_F(ChartPanel, FramesFollowTheDisplayOptionsAndTheScale) {
    Ctl<QCheckBox>("CheckBoxPolygon")->setChecked(false);
    Ctl<QCheckBox>("CheckBoxFrames")->setChecked(true);
    Ctl<QCheckBox>("CheckBoxAxesDesc")->setChecked(true);
    Ctl<QScrollBar>("ScrollBarScale")->setValue(2500);
    const ChartFrame frame = Chart()->CurrentChartFrame();
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
    Ctl<QAction>("Wykresfunkcji1")->trigger();
    Chart()->RedrawChart();
    QApplication::processEvents();
    EXPECT_FALSE(Chart()->ChartReady());
    EXPECT_FALSE(Ctl<PanelChart>("PanelChart")->ChartReady());
    EXPECT_EQ(Ctl<PanelChart>("PanelChart")->FramesRendered(), 0);
}

}  // namespace
}  // namespace quarmel::test
