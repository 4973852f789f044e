// Runs > Race...: the dialog's lanes and seed reach the workers, the status line and legend follow
// them, Stop ends them all, and each lane is kept as a finished run.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>

#include "FindControl.h"
#include "WindowFixture.h"
#include "chart/ChartModel.h"
#include "ui/chart/PanelChart.h"
#include "ui/plots/ConvergencePlot.h"

namespace quarmel::test {
namespace {

class RaceWindowTest : public WindowTest {
  protected:
    template <class T>
    T* Find(const char* name) const {
        return form->findChild<T*>(name);
    }
    void StartRace(const QStringList& keys, int localSleep, int geneticSleep) {
        FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(localSleep);
        FindControl<QSlider>(form.get(), "TrackBarGeneticSleep")->setValue(geneticSleep);
        Find<QAction>("Race1")->trigger();
        auto* dialog = Find<QDialog>("RaceDialog");
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
            box->setChecked(keys.contains(box->objectName().mid(9)));  // after "RaceLane_"
        }
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }
    // A runs table row without its processor time.
    QStringList Row(int row) const {
        auto* table = Find<QTableWidget>("TableRuns");
        QStringList cells;
        for (int c = 0; c + 1 < table->columnCount(); ++c) cells << table->item(row, c)->text();
        return cells;
    }
    const auto& Plotted() const { return Find<ConvergencePlot>("ConvergencePlot")->Runs(); }
};

// State: a fixed seed. Action: a race of greedy and genetic, then each alone. Expected: each
// lane's row equals its algorithm's single run; the legend chooses the solutions shown.
TEST_F(RaceWindowTest, ARaceOfTwoGivesEachAlgorithmsSingleRun) {
    Find<QCheckBox>("CheckBoxFixedSeed")->setChecked(true);
    Find<QLineEdit>("EditSeed")->setText("7");
    FindControl<QSlider>(form.get(), "TrackBarIterations")->setValue(20);
    StartRace({"greedy", "genetic"}, 0, 20);
    ASSERT_TRUE(Find<QRadioButton>("RaceFixedSeed")->isChecked());
    EXPECT_FALSE(Find<QAction>("Race1")->isEnabled());
    auto* status = Find<QLabel>("RaceStatus");
    WAIT_FOR(status->isVisible());
    WAIT_FOR_MS(!form->RunWorker(), 20000);
    EXPECT_FALSE(status->isVisible());
    ASSERT_EQ(Plotted().size(), 2u);
    ASSERT_EQ(form->Solutions().Count(), Plotted()[0].Curve.Count());
    ASSERT_NE(Plotted()[0].Curve.Count(), Plotted()[1].Curve.Count());
    emit Find<QLabel>("RaceLegend")->linkActivated("1");
    EXPECT_EQ(form->Solutions().Count(), Plotted()[1].Curve.Count());

    const QStringList greedyLane = Row(0), geneticLane = Row(1);
    EXPECT_EQ(greedyLane[0] + geneticLane[0], "greedygenetic");
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    WAIT_FOR_MS(!form->RunWorker(), 20000);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGeneticAlg"), Qt::LeftButton);
    WAIT_FOR_MS(!form->RunWorker(), 20000);
    EXPECT_EQ(Row(2), greedyLane);
    EXPECT_EQ(Row(3), geneticLane);
}

// State: one run in the plot already, so the lanes' plot colours are not the first ones. Action:
// a race of greedy and genetic; its second lane chosen in the legend, then its first with Up in
// the replay bar's lane list. Expected: each lane's legend square is its curve's colour; the lane
// chosen is the plot's current run and the one the replay bar replays.
TEST_F(RaceWindowTest, AChosenLaneIsThePlotsCurrentRunAndTheOneReplayed) {
    Find<QCheckBox>("CheckBoxFixedSeed")->setChecked(true);
    FindControl<QSlider>(form.get(), "TrackBarIterations")->setValue(20);
    FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(0);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonSteepest"), Qt::LeftButton);
    WAIT_FOR_MS(!form->RunWorker(), 20000);
    StartRace({"greedy", "genetic"}, 0, 0);
    WAIT_FOR_MS(!form->RunWorker(), 20000);
    ASSERT_EQ(Plotted().size(), 3u);
    const QString legend = Find<QLabel>("RaceLegend")->text();
    EXPECT_TRUE(legend.contains(Plotted()[1].Colour.name()) &&
                legend.contains(Plotted()[2].Colour.name()))
        << legend.toStdString();
    const auto* plot = Find<ConvergencePlot>("ConvergencePlot");
    auto* lanes = Find<QComboBox>("ComboBoxReplayLane");
    auto* slider = Find<QSlider>("SliderReplay");
    const auto replays = [&](std::size_t run) {
        return plot->CurrentRun() == &Plotted()[run] &&
               slider->maximum() + 1 == static_cast<int>(Plotted()[run].Curve.Count()) &&
               lanes->currentIndex() == static_cast<int>(run) - 1;
    };
    EXPECT_TRUE(lanes->isVisibleTo(form.get()));
    EXPECT_TRUE(replays(1));
    emit Find<QLabel>("RaceLegend")->linkActivated("1");
    EXPECT_TRUE(replays(2));
    QTest::keyClick(lanes, Qt::Key_Up);
    EXPECT_TRUE(replays(1));
}

TEST_F(RaceWindowTest, StopEndsEveryLaneAndKeepsItAsStopped) {
    StartRace({"steepest", "genetic"}, 200, 200);
    WAIT_FOR(Find<QLabel>("RaceStatus")->text() == "Race: 2 of 2 running");
    // Until the race ends, the chart draws the window's run in the first lane's colour and the
    // genetic lane's path and population in the second's.
    const ChartModel& chart = Ctl<PanelChart>("PanelChart")->Chart();
    WAIT_FOR(!chart.KeptPaths().empty() && !chart.LanePopulations().empty());
    ASSERT_TRUE(chart.RunColour());
    EXPECT_EQ(chart.LanePopulations()[0].Colour, chart.KeptPaths()[0].Colour);
    EXPECT_NE(*chart.RunColour(), chart.KeptPaths()[0].Colour);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonStop"), Qt::LeftButton);
    EXPECT_FALSE(form->RunWorker());
    EXPECT_FALSE(chart.RunColour());
    EXPECT_TRUE(chart.LanePopulations().empty());
    ASSERT_EQ(Plotted().size(), 2u);
    EXPECT_TRUE(Plotted()[0].Stopped && Plotted()[1].Stopped);
}

}  // namespace
}  // namespace quarmel::test
