// Running the algorithms from the window: start, the running and idle states, pause, stop, the
// progress timer, the Solutions page and closing the window.
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <memory>

#include "WindowFixture.h"
#include "algorithms/Optimizationthread.h"
#include "app/text/NumberText.h"
#include "ui/mainwindow/SolutionsTableModel.h"

namespace quarmel::test {
namespace {

constexpr int kRunTimeoutMs = 20000;

class RunTest : public WindowTest {
  protected:
    // No delays, so runs end quickly; a smaller genetic run keeps the tests short.
    void NoDelays() {
        Ctl<QSlider>("TrackBarLocalSleep")->setValue(0);
        Ctl<QSlider>("TrackBarGeneticSleep")->setValue(0);
        Ctl<QSlider>("TrackBarIterations")->setValue(20);
        Ctl<QSlider>("TrackBarPopSize")->setValue(50);
    }

    bool Idle() const {
        return Ctl<QToolButton>("SpeedButtonGreedy")->isEnabled() &&
               Ctl<QAction>("Greedy1")->isEnabled() &&
               Ctl<QStatusBar>("StatusBar")->currentMessage().isEmpty() && !form->RunWorker();
    }

    void WaitUntilIdle() { WAIT_FOR_MS(Idle(), kRunTimeoutMs); }

    void ExpectRunning(const QString& status) {
        EXPECT_EQ(Ctl<QStatusBar>("StatusBar")->currentMessage(), status);
        EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(),
                  Ctl<QWidget>("TabSheetChart"));
        EXPECT_TRUE(Ctl<QTimer>("TimerChart")->isActive());
        EXPECT_TRUE(form->RunWorker() != nullptr);
        for (QToolButton* b :
             {Ctl<QToolButton>("SpeedButtonNew"), Ctl<QToolButton>("SpeedButtonOpen"),
              Ctl<QToolButton>("SpeedButtonSave"), Ctl<QToolButton>("SpeedButtonGreedy"),
              Ctl<QToolButton>("SpeedButtonSteepest"), Ctl<QToolButton>("SpeedButtonSA"),
              Ctl<QToolButton>("SpeedButtonGeneticAlg")}) {
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        }
        for (QAction* a : {Ctl<QAction>("Nowafunkcja1"), Ctl<QAction>("Wczytajwyniki1"),
                           Ctl<QAction>("Zapiszwyniki1"), Ctl<QAction>("Greedy1"),
                           Ctl<QAction>("Steepest1"), Ctl<QAction>("Symulowanewyarzanie1"),
                           Ctl<QAction>("AlgorytmGenetyczny1"), Ctl<QAction>("Demonstracja1")}) {
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        }
        EXPECT_TRUE(Ctl<QToolButton>("SpeedButtonStop")->isEnabled());
        EXPECT_TRUE(Ctl<QToolButton>("SpeedButtonPause")->isEnabled());
        EXPECT_FALSE(Ctl<QTableWidget>("StringGridVariables")->isEnabled());
        EXPECT_TRUE(Ctl<QLineEdit>("EditFunction")->isReadOnly());
    }

    QString SolutionsCell(int row, int column) const {
        QAbstractItemModel* m = Ctl<QTableView>("StringGridSolutions")->model();
        return m->data(m->index(row, column)).toString();
    }

    void ExpectNoMessages() { EXPECT_TRUE(dialogs.shown.empty()); }
};

TEST_F(RunTest, GreedyWithoutDelayRunsFromStartToIdle) {
    NoDelays();
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    ExpectRunning("Greedy algorithm is running ...");
    WaitUntilIdle();
    EXPECT_TRUE(Ctl<QToolButton>("SpeedButtonSave")->isEnabled());
    EXPECT_TRUE(Ctl<QTableWidget>("StringGridVariables")->isEnabled());
    EXPECT_FALSE(Ctl<QLineEdit>("EditFunction")->isReadOnly());
    EXPECT_EQ(form->Session().State(), RunState::Finished);
    EXPECT_TRUE(form->Session().Unsaved());
    ExpectNoMessages();

    // Greedy publishes the start point and then only improvements.
    const SolutionList& sols = form->Solutions();
    ASSERT_GE(sols.Count(), 2u);
    for (std::size_t i = 1; i < sols.Count(); ++i)
        EXPECT_LT(sols.FuncValue(i), sols.FuncValue(i - 1));

    ClickTab(Ctl<QWidget>("TabSheetSolutions"));
    QAbstractItemModel* table = Ctl<QTableView>("StringGridSolutions")->model();
    const int n = static_cast<int>(sols.Count());
    ASSERT_EQ(table->rowCount(), n);
    ASSERT_EQ(table->columnCount(), 5);
    EXPECT_EQ(table->headerData(0, Qt::Horizontal).toString(), "Nr");
    EXPECT_EQ(table->headerData(4, Qt::Horizontal).toString(), "F(x,y,c)");
    // Numbered from the top; the newest solution first and the start point last.
    EXPECT_EQ(SolutionsCell(0, 0), "1");
    EXPECT_EQ(SolutionsCell(n - 1, 0), QString::number(n));
    EXPECT_EQ(SolutionsCell(0, 4).toStdString(), GeneralText(sols.LastFuncValue(), 6));
    EXPECT_EQ(SolutionsCell(n - 1, 4).toStdString(), GeneralText(sols.FuncValue(0), 6));
    EXPECT_EQ(SolutionsCell(n - 1, 1).toStdString(), GeneralText(sols.VarValue(0, 0), 6));

    float smallest = sols.FuncValue(0);
    for (const SolutionView s : sols) smallest = std::min(smallest, s.Value);
    EXPECT_EQ(Ctl<QLabel>("LabelBeforeOpt")->text().toStdString(),
              GeneralText(sols.FuncValue(0), 7));
    EXPECT_EQ(Ctl<QLabel>("LabelAfterOpt")->text().toStdString(), GeneralText(smallest, 7));
    ExpectNoMessages();
}

TEST_F(RunTest, EveryAlgorithmStartsAndEnds) {
    NoDelays();
    const std::pair<QToolButton*, QString> starts[] = {
        {Ctl<QToolButton>("SpeedButtonGreedy"), "Greedy algorithm is running ..."},
        {Ctl<QToolButton>("SpeedButtonSteepest"), "Steepest algorithm is running ..."},
        {Ctl<QToolButton>("SpeedButtonSA"), "Simulated Annealing algorithm is running ..."},
        {Ctl<QToolButton>("SpeedButtonGeneticAlg"), "Genetic algorithm is running ..."},
    };
    for (const auto& [button, status] : starts) {
        SCOPED_TRACE(status.toStdString());
        QTest::mouseClick(button, Qt::LeftButton);
        const std::shared_ptr<OptimizationThread> worker = form->RunWorker();
        ASSERT_TRUE(worker);
        ExpectRunning(status);
        WaitUntilIdle();
        EXPECT_FALSE(form->Solutions().Empty());
        // The window holds this run's solutions exactly, nothing of the run before it.
        EXPECT_EQ(CompareSolutionLists(worker->SnapshotSolutions(), form->Solutions()),
                  ListChange::None);
        // Only the genetic algorithm has a population to show.
        EXPECT_EQ(form->Population().Empty(), button != Ctl<QToolButton>("SpeedButtonGeneticAlg"));
    }
    ExpectNoMessages();
}

TEST_F(RunTest, MenuItemsStartRunsToo) {
    NoDelays();
    Ctl<QAction>("Steepest1")->trigger();
    ExpectRunning("Steepest algorithm is running ...");
    WaitUntilIdle();
}

TEST_F(RunTest, PauseByButtonThenByMenu) {
    // Short steps, so the worker soon reaches its pause gate; long enough not to end meanwhile.
    Ctl<QSlider>("TrackBarLocalSleep")->setValue(300);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    std::shared_ptr<OptimizationThread> worker = form->RunWorker();
    ASSERT_TRUE(worker);

    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonPause"), Qt::LeftButton);
    EXPECT_TRUE(form->Session().Paused());
    EXPECT_TRUE(Ctl<QToolButton>("SpeedButtonPause")->isChecked());
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonPause")->toolTip(), "Continue calculation");
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonPause")->accessibleDescription(),
              "Continue calculation");
    EXPECT_TRUE(Ctl<QAction>("Pauza1")->isChecked());
    WAIT_FOR_MS(worker->IsHeld(), kRunTimeoutMs);

    Ctl<QAction>("Pauza1")->trigger();
    EXPECT_FALSE(form->Session().Paused());
    EXPECT_FALSE(Ctl<QToolButton>("SpeedButtonPause")->isChecked());
    EXPECT_FALSE(Ctl<QAction>("Pauza1")->isChecked());
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonPause")->toolTip(), "Wstrzymaj obliczenia");
    WAIT_FOR_MS(!worker->IsHeld(), kRunTimeoutMs);

    Ctl<QAction>("Pauza1")->trigger();
    EXPECT_TRUE(form->Session().Paused());
    EXPECT_TRUE(Ctl<QToolButton>("SpeedButtonPause")->isChecked());
    EXPECT_TRUE(Ctl<QAction>("Pauza1")->isChecked());
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonPause")->toolTip(), "Kontynuj obliczenia");

    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonPause"), Qt::LeftButton);
    EXPECT_FALSE(form->Session().Paused());
    EXPECT_FALSE(Ctl<QAction>("Pauza1")->isChecked());
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonPause")->toolTip(), "Pause calculation");

    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonStop"), Qt::LeftButton);
    WAIT_FOR_MS(worker->IsFinished(), kRunTimeoutMs);
}

TEST_F(RunTest, TheStatusTextStaysWhileMenuItemsAreHovered) {
    Ctl<QSlider>("TrackBarLocalSleep")->setValue(10000);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    QStatusTipEvent emptyTip{QString()};
    QApplication::sendEvent(Ctl<QMenuBar>("MainMenu"), &emptyTip);
    EXPECT_EQ(Ctl<QStatusBar>("StatusBar")->currentMessage(), "Greedy algorithm is running ...");
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonStop"), Qt::LeftButton);
    EXPECT_TRUE(Ctl<QStatusBar>("StatusBar")->currentMessage().isEmpty());
}

TEST_F(RunTest, PauseWithoutRunOnlyChangesTheControls) {
    Ctl<QAction>("Pauza1")->trigger();
    EXPECT_EQ(form->Session().State(), RunState::Idle);
    EXPECT_TRUE(Ctl<QToolButton>("SpeedButtonPause")->isChecked());
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonStop"), Qt::LeftButton);
    EXPECT_FALSE(form->Session().Paused());
    EXPECT_FALSE(Ctl<QToolButton>("SpeedButtonPause")->isChecked());
    EXPECT_FALSE(Ctl<QAction>("Pauza1")->isChecked());
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonPause")->toolTip(), "Pause calculation");
    EXPECT_EQ(form->Session().State(), RunState::Idle);
}

TEST_F(RunTest, StopDuringARunReturnsToIdleAtOnceAndTheWorkerEnds) {
    Ctl<QSlider>("TrackBarLocalSleep")->setValue(10000);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonSteepest"), Qt::LeftButton);
    std::shared_ptr<OptimizationThread> worker = form->RunWorker();
    ASSERT_TRUE(worker);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonStop"), Qt::LeftButton);
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(worker->TerminationRequested());
    // The worker ends at its next look at the stop request, not after its 10 s delay.
    WAIT_FOR_MS(worker->IsFinished(), 5000);
}

TEST_F(RunTest, StopWhilePausedEndsTheWorkerWithoutResume) {
    Ctl<QSlider>("TrackBarLocalSleep")->setValue(300);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    std::shared_ptr<OptimizationThread> worker = form->RunWorker();
    ASSERT_TRUE(worker);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonPause"), Qt::LeftButton);
    WAIT_FOR_MS(worker->IsHeld(), kRunTimeoutMs);
    Ctl<QAction>("Stop1")->trigger();
    EXPECT_TRUE(Idle());
    EXPECT_FALSE(form->Session().Paused());
    WAIT_FOR_MS(worker->IsFinished(), 5000);
}

// State: an annealing run. Action: pause for a second, resume, stop. Expected: the message says
// paused and the time stands meanwhile; the values reach assistive technology; the end takes the
// message and the stage away.
TEST_F(RunTest, TheStatusLineFollowsPauseAndTheEndOfTheRun) {
    Ctl<QSlider>("TrackBarLocalSleep")->setValue(300);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonSA"), Qt::LeftButton);
    const QStatusBar* bar = Ctl<QStatusBar>("StatusBar");
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonPause"), Qt::LeftButton);
    EXPECT_EQ(bar->currentMessage(), "Simulated Annealing algorithm is paused");
    QTest::qWait(1100);
    const QLabel* elapsed = Ctl<QLabel>("LabelElapsed");
    EXPECT_EQ(elapsed->accessibleDescription(), "0:00");
    EXPECT_EQ(elapsed->accessibleName(), "Elapsed time");
    const QLabel* seed = Ctl<QLabel>("LabelSeed");
    EXPECT_TRUE(seed->accessibleDescription().startsWith("Seed ")) << seed->text().toStdString();
    EXPECT_EQ(seed->accessibleDescription(), seed->text());
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonPause"), Qt::LeftButton);
    EXPECT_EQ(bar->currentMessage(), "Simulated Annealing algorithm is running ...");
    // At the default size the message ends before the stage and the other values begin.
    WAIT_FOR(!Ctl<QLabel>("LabelStage")->text().isEmpty());
    int valuesStart = bar->width();
    for (const char* name : {"LabelStage", "ProgressRun", "LabelElapsed", "LabelSeed"}) {
        const QWidget* w = Ctl<QWidget>(name);
        if (w->isVisible()) valuesStart = std::min(valuesStart, w->x());
    }
    EXPECT_LE(bar->fontMetrics().horizontalAdvance(bar->currentMessage()) + 8, valuesStart);
    Ctl<QAction>("Stop1")->trigger();
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Ctl<QLabel>("LabelStage")->text(), "");
}

TEST_F(RunTest, ChoosingTheChartTabDuringARunKeepsTheRunsResults) {
    Ctl<QSlider>("TrackBarLocalSleep")->setValue(10);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    std::shared_ptr<OptimizationThread> worker = form->RunWorker();
    ASSERT_TRUE(worker);
    ClickTab(Ctl<QWidget>("TabSheetFunction"));
    ClickTab(Ctl<QWidget>("TabSheetChart"));
    WaitUntilIdle();
    // Every step the run published reached the window, not only those copied before the click.
    const SolutionList published = worker->SnapshotSolutions();
    ASSERT_FALSE(published.Empty());
    EXPECT_EQ(CompareSolutionLists(published, form->Solutions()), ListChange::None);

    // Idle, the tab still makes the window ignore a worker's lists, as Open does.
    ClickTab(Ctl<QWidget>("TabSheetFunction"));
    ClickTab(Ctl<QWidget>("TabSheetChart"));
    EXPECT_TRUE(form->Session().ResultsIgnored());
    ExpectNoMessages();
}

TEST_F(RunTest, TheSolutionsTableKeepsSelectionAndViewWhileARunAddsRows) {
    // One row a generation, for as long as the test needs.
    Ctl<QSlider>("TrackBarGeneticSleep")->setValue(10);
    Ctl<QSlider>("TrackBarIterations")->setValue(1000);
    Ctl<QSlider>("TrackBarPopSize")->setValue(20);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGeneticAlg"), Qt::LeftButton);
    ClickTab(Ctl<QWidget>("TabSheetSolutions"));
    QTableView* table = Ctl<QTableView>("StringGridSolutions");
    QAbstractItemModel* m = table->model();
    WAIT_FOR_MS(m->rowCount() >= 60, kRunTimeoutMs);
    QSignalSpy resets(m, &QAbstractItemModel::modelReset);

    table->setCurrentIndex(m->index(40, 2));
    table->verticalScrollBar()->setValue(table->verticalScrollBar()->value() + 30);
    int rows = m->rowCount();
    const int topRow = table->rowAt(0);
    ASSERT_GT(topRow, 0);
    WAIT_FOR_MS(m->rowCount() >= rows + 3, kRunTimeoutMs);
    // The rows came in above; the selection and the view stayed on their solutions.
    int added = m->rowCount() - rows;
    EXPECT_EQ(table->currentIndex(), m->index(40 + added, 2));
    EXPECT_TRUE(table->selectionModel()->isSelected(m->index(40 + added, 2)));
    EXPECT_EQ(table->rowAt(0), topRow + added);

    // At the top the view stays there, where the newest solutions come in.
    table->verticalScrollBar()->setValue(0);
    rows = m->rowCount();
    WAIT_FOR_MS(m->rowCount() >= rows + 3, kRunTimeoutMs);
    EXPECT_EQ(table->rowAt(0), 0);
    EXPECT_EQ(resets.count(), 0);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonStop"), Qt::LeftButton);
}

TEST_F(RunTest, AfterTheRunTheTimerLeavesTheSolutionsTableAlone) {
    NoDelays();
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    WaitUntilIdle();
    ClickTab(Ctl<QWidget>("TabSheetSolutions"));
    QTableView* table = Ctl<QTableView>("StringGridSolutions");
    QAbstractItemModel* m = table->model();
    ASSERT_GE(m->rowCount(), 2);
    table->setCurrentIndex(m->index(1, 1));
    table->horizontalHeader()->resizeSection(1, 123);
    QSignalSpy resets(m, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(m, &QAbstractItemModel::rowsInserted);
    const int ticks = 5;
    QTest::qWait(ticks * Ctl<QTimer>("TimerChart")->interval());
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(table->currentIndex(), m->index(1, 1));
    EXPECT_EQ(table->horizontalHeader()->sectionSize(1), 123);
}

TEST_F(RunTest, TheResultLabelsFollowTheDirectionAndGoWithTheSolutions) {
    NoDelays();
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    WaitUntilIdle();
    ClickTab(Ctl<QWidget>("TabSheetSolutions"));
    const SolutionList& sols = form->Solutions();
    ASSERT_FALSE(sols.Empty());
    // Only the direction changes: the solutions stay, their best value is chosen anew.
    ClickTab(Ctl<QWidget>("TabSheetFunction"));
    Ctl<QRadioButton>("RadioButton_max")->setChecked(true);
    QTest::mouseClick(Ctl<QPushButton>("SpeedButtonCalc"), Qt::LeftButton);
    ClickTab(Ctl<QWidget>("TabSheetSolutions"));
    float largest = sols.FuncValue(0);
    for (const SolutionView s : sols) largest = std::max(largest, s.Value);
    EXPECT_EQ(Ctl<QLabel>("LabelAfterOpt")->text().toStdString(), GeneralText(largest, 7));

    // A new formula discards them: the table and both labels at once, without a visit.
    ClickTab(Ctl<QWidget>("TabSheetFunction"));
    Ctl<QLineEdit>("EditFunction")->setText("x + y + c");
    QTest::mouseClick(Ctl<QPushButton>("SpeedButtonCalc"), Qt::LeftButton);
    EXPECT_EQ(Ctl<QTableView>("StringGridSolutions")->model()->rowCount(), 0);
    EXPECT_EQ(Ctl<QLabel>("LabelBeforeOpt")->text(), "-");
    EXPECT_EQ(Ctl<QLabel>("LabelAfterOpt")->text(), "-");
    ExpectNoMessages();
}

TEST_F(RunTest, ARunWithNothingToOptimiseEndsAtTheNextTick) {
    NoDelays();
    Ctl<QLineEdit>("EditFunction")->setText("7");
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    EXPECT_EQ(Ctl<QStatusBar>("StatusBar")->currentMessage(), "Greedy algorithm is running ...");
    WaitUntilIdle();
    ExpectNoMessages();
}

TEST_F(RunTest, AFormulaThatDoesNotCompileStartsNothing) {
    Ctl<QLineEdit>("EditFunction")->setText("x + (");
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].rfind("Bląd w funkcji. Kolumna: ", 0), 0u);
    EXPECT_TRUE(Idle());
    EXPECT_FALSE(Ctl<QTimer>("TimerChart")->isActive());
    EXPECT_FALSE(form->Session().Unsaved());
}

TEST_F(RunTest, AVariableWithoutRoomIsRefusedByName) {
    SetRow(2, "y", "4", "4", "4");
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonSA"), Qt::LeftButton);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].find("variable y "), std::string::npos);
    EXPECT_TRUE(Idle());
    EXPECT_FALSE(form->Session().Unsaved());
}

TEST_F(RunTest, ClosingAfterARunAsksAndNoKeepsTheWindow) {
    NoDelays();
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    WaitUntilIdle();
    dialogs.answers = {false};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].Kind, "confirm");
    EXPECT_EQ(dialogs.shown[0].Caption, "Closing program");
    EXPECT_EQ(dialogs.shown[0].Text, "Really close ?");
    dialogs.answers = {true};
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
}

TEST_F(RunTest, ClosingWithoutARunDoesNotAsk) {
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RunTest, ClosingDuringARunEndsTheWorker) {
    Ctl<QSlider>("TrackBarLocalSleep")->setValue(10000);
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    std::shared_ptr<OptimizationThread> worker = form->RunWorker();
    ASSERT_TRUE(worker);
    dialogs.answers = {true};
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->RunWorker());
    WAIT_FOR_MS(worker->IsFinished(), 5000);
}

}  // namespace
}  // namespace quarmel::test
