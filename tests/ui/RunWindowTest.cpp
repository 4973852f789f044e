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

#include "FindControl.h"
#include "WindowFixture.h"
#include "algorithms/Optimizationthread.h"
#include "app/NumberText.h"
#include "ui/SolutionsTableModel.h"

namespace quarmel::test {
namespace {

constexpr int kRunTimeoutMs = 20000;

class RunTest : public WindowTest {
  protected:
    // No delays, so runs end quickly; a smaller genetic run keeps the tests short.
    void NoDelays() {
        FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(0);
        FindControl<QSlider>(form.get(), "TrackBarGeneticSleep")->setValue(0);
        FindControl<QSlider>(form.get(), "TrackBarIterations")->setValue(20);
        FindControl<QSlider>(form.get(), "TrackBarPopSize")->setValue(50);
    }

    bool Idle() const {
        return form->SpeedButtonGreedy->isEnabled() && form->Greedy1->isEnabled() &&
               form->StatusBar->currentMessage().isEmpty() && !form->Worker;
    }

    void WaitUntilIdle() { QTRY_VERIFY_WITH_TIMEOUT(Idle(), kRunTimeoutMs); }

    void ExpectRunning(const QString& status) {
        EXPECT_EQ(form->StatusBar->currentMessage(), status);
        EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetChart);
        EXPECT_TRUE(form->TimerChart->isActive());
        EXPECT_TRUE(form->Worker != nullptr);
        for (QToolButton* b : {form->SpeedButtonNew, form->SpeedButtonOpen, form->SpeedButtonSave,
                               form->SpeedButtonGreedy, form->SpeedButtonSteepest,
                               form->SpeedButtonSA, form->SpeedButtonGeneticAlg}) {
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        }
        for (QAction* a : {form->Nowafunkcja1, form->Wczytajwyniki1, form->Zapiszwyniki1,
                           form->Greedy1, form->Steepest1, form->Symulowanewyarzanie1,
                           form->AlgorytmGenetyczny1, form->Demonstracja1}) {
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        }
        EXPECT_TRUE(form->SpeedButtonStop->isEnabled());
        EXPECT_TRUE(form->SpeedButtonPause->isEnabled());
        EXPECT_FALSE(form->StringGridVariables->isEnabled());
        EXPECT_TRUE(form->EditFunction->isReadOnly());
    }

    QString SolutionsCell(int row, int column) const {
        QAbstractItemModel* m = form->StringGridSolutions->model();
        return m->data(m->index(row, column)).toString();
    }

    void ExpectNoMessages() { EXPECT_TRUE(dialogs.shown.empty()); }
};

TEST_F(RunTest, GreedyWithoutDelayRunsFromStartToIdle) {
    NoDelays();
    QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
    ExpectRunning("Greedy algorithm is running ...");
    WaitUntilIdle();
    EXPECT_TRUE(form->SpeedButtonSave->isEnabled());
    EXPECT_TRUE(form->StringGridVariables->isEnabled());
    EXPECT_FALSE(form->EditFunction->isReadOnly());
    EXPECT_TRUE(form->StopRequested);
    EXPECT_TRUE(form->SolutionsNotSaved);
    ExpectNoMessages();

    // Greedy publishes the start point and then only improvements.
    const SolutionList& sols = form->RunSolutions;
    ASSERT_GE(sols.Count(), 2u);
    for (std::size_t i = 1; i < sols.Count(); ++i)
        EXPECT_LT(sols.FuncValue(i), sols.FuncValue(i - 1));

    ClickTab(form->TabSheetSolutions);
    QAbstractItemModel* table = form->StringGridSolutions->model();
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
    for (const Solution& s : sols) smallest = std::min(smallest, s.Value);
    EXPECT_EQ(form->LabelBeforeOpt->text().toStdString(), GeneralText(sols.FuncValue(0), 7));
    EXPECT_EQ(form->LabelAfterOpt->text().toStdString(), GeneralText(smallest, 7));
    ExpectNoMessages();
}

TEST_F(RunTest, EveryAlgorithmStartsAndEnds) {
    NoDelays();
    const std::pair<QToolButton*, QString> starts[] = {
        {form->SpeedButtonGreedy, "Greedy algorithm is running ..."},
        {form->SpeedButtonSteepest, "Steepest algorithm is running ..."},
        {form->SpeedButtonSA, "Simulated Annealing algorithm is running ..."},
        {form->SpeedButtonGeneticAlg, "Genetic algorithm is running ..."},
    };
    for (const auto& [button, status] : starts) {
        SCOPED_TRACE(status.toStdString());
        QTest::mouseClick(button, Qt::LeftButton);
        const std::shared_ptr<OptimizationThread> worker = form->Worker;
        ASSERT_TRUE(worker);
        ExpectRunning(status);
        WaitUntilIdle();
        EXPECT_FALSE(form->RunSolutions.Empty());
        // The window holds this run's solutions exactly, nothing of the run before it.
        EXPECT_EQ(CompareSolutionLists(worker->SnapshotSolutions(), form->RunSolutions),
                  ListChange::None);
        // Only the genetic algorithm has a population to show.
        EXPECT_EQ(form->RunPopulation.Empty(), button != form->SpeedButtonGeneticAlg);
    }
    ExpectNoMessages();
}

TEST_F(RunTest, MenuItemsStartRunsToo) {
    NoDelays();
    form->Steepest1->trigger();
    ExpectRunning("Steepest algorithm is running ...");
    WaitUntilIdle();
}

TEST_F(RunTest, PauseByButtonThenByMenu) {
    // Short steps, so the worker soon reaches its pause gate; long enough not to end meanwhile.
    FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(300);
    QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
    std::shared_ptr<OptimizationThread> worker = form->Worker;
    ASSERT_TRUE(worker);

    QTest::mouseClick(form->SpeedButtonPause, Qt::LeftButton);
    EXPECT_TRUE(form->Paused);
    EXPECT_TRUE(form->SpeedButtonPause->isChecked());
    EXPECT_EQ(form->SpeedButtonPause->toolTip(), "Continue calculation");
    EXPECT_EQ(form->SpeedButtonPause->accessibleDescription(), "Continue calculation");
    EXPECT_TRUE(form->Pauza1->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(worker->IsHeld(), kRunTimeoutMs);

    form->Pauza1->trigger();
    EXPECT_FALSE(form->Paused);
    EXPECT_FALSE(form->SpeedButtonPause->isChecked());
    EXPECT_FALSE(form->Pauza1->isChecked());
    EXPECT_EQ(form->SpeedButtonPause->toolTip(), "Wstrzymaj obliczenia");
    QTRY_VERIFY_WITH_TIMEOUT(!worker->IsHeld(), kRunTimeoutMs);

    form->Pauza1->trigger();
    EXPECT_TRUE(form->Paused);
    EXPECT_TRUE(form->SpeedButtonPause->isChecked());
    EXPECT_TRUE(form->Pauza1->isChecked());
    EXPECT_EQ(form->SpeedButtonPause->toolTip(), "Kontynuj obliczenia");

    QTest::mouseClick(form->SpeedButtonPause, Qt::LeftButton);
    EXPECT_FALSE(form->Paused);
    EXPECT_FALSE(form->Pauza1->isChecked());
    EXPECT_EQ(form->SpeedButtonPause->toolTip(), "Pause calculation");

    QTest::mouseClick(form->SpeedButtonStop, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(worker->IsFinished(), kRunTimeoutMs);
}

TEST_F(RunTest, TheStatusTextStaysWhileMenuItemsAreHovered) {
    FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(10000);
    QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
    QStatusTipEvent emptyTip{QString()};
    QApplication::sendEvent(form->MainMenu, &emptyTip);
    EXPECT_EQ(form->StatusBar->currentMessage(), "Greedy algorithm is running ...");
    QTest::mouseClick(form->SpeedButtonStop, Qt::LeftButton);
    EXPECT_TRUE(form->StatusBar->currentMessage().isEmpty());
}

TEST_F(RunTest, PauseWithoutRunOnlyChangesTheControls) {
    form->Pauza1->trigger();
    EXPECT_TRUE(form->Paused);
    EXPECT_TRUE(form->SpeedButtonPause->isChecked());
    QTest::mouseClick(form->SpeedButtonStop, Qt::LeftButton);
    EXPECT_FALSE(form->Paused);
    EXPECT_FALSE(form->SpeedButtonPause->isChecked());
    EXPECT_FALSE(form->Pauza1->isChecked());
    EXPECT_EQ(form->SpeedButtonPause->toolTip(), "Pause calculation");
    EXPECT_TRUE(form->StopRequested);
}

TEST_F(RunTest, StopDuringARunReturnsToIdleAtOnceAndTheWorkerEnds) {
    FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(10000);
    QTest::mouseClick(form->SpeedButtonSteepest, Qt::LeftButton);
    std::shared_ptr<OptimizationThread> worker = form->Worker;
    ASSERT_TRUE(worker);
    QTest::mouseClick(form->SpeedButtonStop, Qt::LeftButton);
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(worker->TerminationRequested());
    // The worker ends at its next look at the stop request, not after its 10 s delay.
    QTRY_VERIFY_WITH_TIMEOUT(worker->IsFinished(), 5000);
}

TEST_F(RunTest, StopWhilePausedEndsTheWorkerWithoutResume) {
    FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(300);
    QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
    std::shared_ptr<OptimizationThread> worker = form->Worker;
    ASSERT_TRUE(worker);
    QTest::mouseClick(form->SpeedButtonPause, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(worker->IsHeld(), kRunTimeoutMs);
    form->Stop1->trigger();
    EXPECT_TRUE(Idle());
    EXPECT_FALSE(form->Paused);
    QTRY_VERIFY_WITH_TIMEOUT(worker->IsFinished(), 5000);
}

TEST_F(RunTest, ChoosingTheChartTabDuringARunKeepsTheRunsResults) {
    FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(10);
    QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
    std::shared_ptr<OptimizationThread> worker = form->Worker;
    ASSERT_TRUE(worker);
    ClickTab(form->TabSheetFunction);
    ClickTab(form->TabSheetChart);
    WaitUntilIdle();
    // Every step the run published reached the window, not only those copied before the click.
    const SolutionList published = worker->SnapshotSolutions();
    ASSERT_FALSE(published.Empty());
    EXPECT_EQ(CompareSolutionLists(published, form->RunSolutions), ListChange::None);

    // Idle, the tab still makes the window ignore a worker's lists, as Open does.
    ClickTab(form->TabSheetFunction);
    ClickTab(form->TabSheetChart);
    EXPECT_TRUE(form->IgnoreRunResults);
    ExpectNoMessages();
}

TEST_F(RunTest, TheSolutionsTableKeepsSelectionAndViewWhileARunAddsRows) {
    // One row a generation, for as long as the test needs.
    FindControl<QSlider>(form.get(), "TrackBarGeneticSleep")->setValue(10);
    FindControl<QSlider>(form.get(), "TrackBarIterations")->setValue(1000);
    FindControl<QSlider>(form.get(), "TrackBarPopSize")->setValue(20);
    QTest::mouseClick(form->SpeedButtonGeneticAlg, Qt::LeftButton);
    ClickTab(form->TabSheetSolutions);
    QTableView* table = form->StringGridSolutions;
    QAbstractItemModel* m = table->model();
    QTRY_VERIFY_WITH_TIMEOUT(m->rowCount() >= 60, kRunTimeoutMs);
    QSignalSpy resets(m, &QAbstractItemModel::modelReset);

    table->setCurrentIndex(m->index(40, 2));
    table->verticalScrollBar()->setValue(table->verticalScrollBar()->value() + 30);
    int rows = m->rowCount();
    const int topRow = table->rowAt(0);
    ASSERT_GT(topRow, 0);
    QTRY_VERIFY_WITH_TIMEOUT(m->rowCount() >= rows + 3, kRunTimeoutMs);
    // The rows came in above; the selection and the view stayed on their solutions.
    int added = m->rowCount() - rows;
    EXPECT_EQ(table->currentIndex(), m->index(40 + added, 2));
    EXPECT_TRUE(table->selectionModel()->isSelected(m->index(40 + added, 2)));
    EXPECT_EQ(table->rowAt(0), topRow + added);

    // At the top the view stays there, where the newest solutions come in.
    table->verticalScrollBar()->setValue(0);
    rows = m->rowCount();
    QTRY_VERIFY_WITH_TIMEOUT(m->rowCount() >= rows + 3, kRunTimeoutMs);
    EXPECT_EQ(table->rowAt(0), 0);
    EXPECT_EQ(resets.count(), 0);
    QTest::mouseClick(form->SpeedButtonStop, Qt::LeftButton);
}

TEST_F(RunTest, AfterTheRunTheTimerLeavesTheSolutionsTableAlone) {
    NoDelays();
    QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
    WaitUntilIdle();
    ClickTab(form->TabSheetSolutions);
    QTableView* table = form->StringGridSolutions;
    QAbstractItemModel* m = table->model();
    ASSERT_GE(m->rowCount(), 2);
    table->setCurrentIndex(m->index(1, 1));
    table->horizontalHeader()->resizeSection(1, 123);
    QSignalSpy resets(m, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(m, &QAbstractItemModel::rowsInserted);
    const int ticks = 5;
    QTest::qWait(ticks * form->TimerChart->interval());
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(table->currentIndex(), m->index(1, 1));
    EXPECT_EQ(table->horizontalHeader()->sectionSize(1), 123);
}

TEST_F(RunTest, TheResultLabelsFollowTheDirectionAndGoWithTheSolutions) {
    NoDelays();
    QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
    WaitUntilIdle();
    ClickTab(form->TabSheetSolutions);
    const SolutionList& sols = form->RunSolutions;
    ASSERT_FALSE(sols.Empty());
    // Only the direction changes: the solutions stay, their best value is chosen anew.
    ClickTab(form->TabSheetFunction);
    form->RadioButton_max->setChecked(true);
    QTest::mouseClick(form->SpeedButtonCalc, Qt::LeftButton);
    ClickTab(form->TabSheetSolutions);
    float largest = sols.FuncValue(0);
    for (const Solution& s : sols) largest = std::max(largest, s.Value);
    EXPECT_EQ(form->LabelAfterOpt->text().toStdString(), GeneralText(largest, 7));

    // A new formula discards them: the table and both labels at once, without a visit.
    ClickTab(form->TabSheetFunction);
    form->EditFunction->setText("x + y + c");
    QTest::mouseClick(form->SpeedButtonCalc, Qt::LeftButton);
    EXPECT_EQ(form->StringGridSolutions->model()->rowCount(), 0);
    EXPECT_EQ(form->LabelBeforeOpt->text(), "-");
    EXPECT_EQ(form->LabelAfterOpt->text(), "-");
    ExpectNoMessages();
}

TEST_F(RunTest, ARunWithNothingToOptimiseEndsAtTheNextTick) {
    NoDelays();
    form->EditFunction->setText("7");
    QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
    EXPECT_EQ(form->StatusBar->currentMessage(), "Greedy algorithm is running ...");
    WaitUntilIdle();
    ExpectNoMessages();
}

TEST_F(RunTest, AFormulaThatDoesNotCompileStartsNothing) {
    form->EditFunction->setText("x + (");
    QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].rfind("Bląd w funkcji. Kolumna: ", 0), 0u);
    EXPECT_TRUE(Idle());
    EXPECT_FALSE(form->TimerChart->isActive());
    EXPECT_FALSE(form->SolutionsNotSaved);
}

TEST_F(RunTest, AVariableWithoutRoomIsRefusedByName) {
    SetRow(2, "y", "4", "4", "4");
    QTest::mouseClick(form->SpeedButtonSA, Qt::LeftButton);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].find("variable y "), std::string::npos);
    EXPECT_TRUE(Idle());
    EXPECT_FALSE(form->SolutionsNotSaved);
}

TEST_F(RunTest, ClosingAfterARunAsksAndNoKeepsTheWindow) {
    NoDelays();
    QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
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
    FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(10000);
    QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
    std::shared_ptr<OptimizationThread> worker = form->Worker;
    ASSERT_TRUE(worker);
    dialogs.answers = {true};
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->Worker);
    QTRY_VERIFY_WITH_TIMEOUT(worker->IsFinished(), 5000);
}

}  // namespace
}  // namespace quarmel::test
