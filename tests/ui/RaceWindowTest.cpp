// Runs > Race...: two algorithms at once from the fixed seed; each lane is the run its algorithm
// makes alone from that seed, and a finished run of the runs table.
#include <QAction>
#include <QCheckBox>
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
    // A runs table row without its processor time, which differs from run to run.
    QStringList Row(int row) const {
        auto* table = Find<QTableWidget>("TableRuns");
        QStringList cells;
        for (int c = 0; c + 1 < table->columnCount(); ++c) cells << table->item(row, c)->text();
        return cells;
    }
    // Runs > Race... with the given lanes ticked, from the dialog's checked seed.
    void StartRace(const QStringList& keys) {
        Find<QAction>("Race1")->trigger();
        auto* dialog = Find<QDialog>("RaceDialog");
        ASSERT_NE(dialog, nullptr);
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
            box->setChecked(keys.contains(box->objectName().mid(9)));
        }
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        ASSERT_TRUE(form->RunWorker());
    }
};

// State: a fixed seed and no delays. Action: a race of greedy and genetic, then each alone.
// Expected: both lanes ran at once, the status line counted them, the legend named them, and
// each lane's row equals its algorithm's single run.
TEST_F(RaceWindowTest, ARaceOfTwoGivesEachAlgorithmsSingleRun) {
    Find<QCheckBox>("CheckBoxFixedSeed")->setChecked(true);
    Find<QLineEdit>("EditSeed")->setText("7");
    FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(0);
    FindControl<QSlider>(form.get(), "TrackBarGeneticSleep")->setValue(20);
    FindControl<QSlider>(form.get(), "TrackBarIterations")->setValue(20);
    FindControl<QSlider>(form.get(), "TrackBarPopSize")->setValue(50);

    StartRace({"greedy", "genetic"});
    ASSERT_TRUE(Find<QRadioButton>("RaceFixedSeed")->isChecked());
    // A run's commands are locked while the race runs.
    EXPECT_FALSE(Find<QAction>("Race1")->isEnabled());
    EXPECT_FALSE(Ctl<QToolButton>("SpeedButtonGreedy")->isEnabled());
    auto* status = Find<QLabel>("RaceStatus");
    WAIT_FOR(status->isVisible());
    EXPECT_TRUE(status->text().endsWith(" of 2 running")) << status->text().toStdString();
    WAIT_FOR_MS(!form->RunWorker(), 20000);
    EXPECT_FALSE(status->isVisible());
    EXPECT_TRUE(Find<QAction>("Race1")->isEnabled());
    const QString legend = Find<QLabel>("RaceLegend")->text();
    EXPECT_TRUE(legend.contains("greedy") && legend.contains("genetic")) << legend.toStdString();

    // The genetic lane chosen in the legend is the solutions the window shows.
    const auto& plotted = Find<ConvergencePlot>("ConvergencePlot")->Runs();
    ASSERT_EQ(plotted.size(), 2u);
    ASSERT_EQ(form->Solutions().Count(), plotted[0].Curve.Count());
    emit Find<QLabel>("RaceLegend")->linkActivated("1");
    EXPECT_EQ(form->Solutions().Count(), plotted[1].Curve.Count());
    EXPECT_NE(plotted[0].Curve.Count(), plotted[1].Curve.Count());

    auto* table = Find<QTableWidget>("TableRuns");
    ASSERT_EQ(table->rowCount(), 2);
    const QStringList greedyLane = Row(0), geneticLane = Row(1);
    EXPECT_EQ(greedyLane[0], "greedy");
    EXPECT_EQ(geneticLane[0], "genetic");
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    WAIT_FOR_MS(!form->RunWorker(), 20000);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGeneticAlg"), Qt::LeftButton);
    WAIT_FOR_MS(!form->RunWorker(), 20000);
    ASSERT_EQ(table->rowCount(), 4);
    EXPECT_EQ(Row(2), greedyLane);
    EXPECT_EQ(Row(3), geneticLane);
    // A plain run forgets the race's legend.
    EXPECT_FALSE(Find<QLabel>("RaceLegend")->isVisible());
}

// Action: Stop during a race of two slow lanes. Expected: both lanes stop and are kept as
// stopped runs.
TEST_F(RaceWindowTest, StopEndsEveryLane) {
    FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(200);
    FindControl<QSlider>(form.get(), "TrackBarGeneticSleep")->setValue(200);
    StartRace({"steepest", "genetic"});
    WAIT_FOR(Find<QLabel>("RaceStatus")->text() == "Race: 2 of 2 running");
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonStop"), Qt::LeftButton);
    EXPECT_FALSE(form->RunWorker());
    auto* table = Find<QTableWidget>("TableRuns");
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(1, 0)->text(), "genetic");
    const auto& runs = Find<ConvergencePlot>("ConvergencePlot")->Runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_TRUE(runs[0].Stopped && runs[1].Stopped);
}

}  // namespace
}  // namespace quarmel::test
