// Running an algorithm from the window: the start commands, the running and idle states, pause
// and stop, the progress timer, the Solutions page and closing the window.
#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include <utility>

#include "algorithms/Optimizationthread.h"
#include "app/RunProgress.h"
#include "chart/MarkerPoints.h"
#include "ui/Accessibility.h"
#include "ui/Dialogs.h"
#include "ui/Mainform.h"
#include "ui/PanelChart.h"
#include "ui/RunComparison.h"
#include "ui/SolutionsTableModel.h"

namespace quarmel {

void TFormMain::ConnectRunCommands() {
    ConnectCommands<QToolButton>(
        {
            {SpeedButtonNew, &TFormMain::SpeedButtonNewClick},
            {SpeedButtonOpen, &TFormMain::SpeedButtonOpenClick},
            {SpeedButtonSave, &TFormMain::SpeedButtonSaveClick},
            {SpeedButtonGreedy, &TFormMain::SpeedButtonGreedyClick},
            {SpeedButtonSteepest, &TFormMain::SpeedButtonSteepestClick},
            {SpeedButtonSA, &TFormMain::SpeedButtonSAClick},
            {SpeedButtonGeneticAlg, &TFormMain::SpeedButtonGeneticAlgClick},
            {SpeedButtonPause, &TFormMain::SpeedButtonPauseClick},
            {SpeedButtonStop, &TFormMain::SpeedButtonStopClick},
        },
        &QToolButton::clicked);
    ConnectCommands<QAction>(
        {
            {Nowafunkcja1, &TFormMain::SpeedButtonNewClick},
            {Wczytajwyniki1, &TFormMain::SpeedButtonOpenClick},
            {Zapiszwyniki1, &TFormMain::SpeedButtonSaveClick},
            {Greedy1, &TFormMain::SpeedButtonGreedyClick},
            {Steepest1, &TFormMain::SpeedButtonSteepestClick},
            {Symulowanewyarzanie1, &TFormMain::SpeedButtonSAClick},
            {AlgorytmGenetyczny1, &TFormMain::SpeedButtonGeneticAlgClick},
            {Stop1, &TFormMain::SpeedButtonStopClick},
        },
        &QAction::triggered);
    // These two handlers decide by the check mark as it was before the click, and set it
    // themselves; Qt has already toggled it when it reports the click.
    const std::pair<QAction*, Handler> checked[] = {
        {Pauza1, &TFormMain::Pauza1Click},
        {Demonstracja1, &TFormMain::Demonstracja1Click},
    };
    for (const auto& [item, handler] : checked) {
        connect(item, &QAction::triggered, this, [this, a = item, h = handler](bool on) {
            a->setChecked(!on);
            RunCommand(h);
        });
    }
    connect(TimerDemo, &QTimer::timeout, this, [this] { RunCommand(&TFormMain::TimerDemoTimer); });
    installEventFilter(this);
}

void TFormMain::SpeedButtonGreedyClick() {
    StartRun(Greedy, "Greedy algorithm is running ...");
}

void TFormMain::SpeedButtonSteepestClick() {
    StartRun(Steepest, "Steepest algorithm is running ...");
}

void TFormMain::SpeedButtonSAClick() {
    StartRun(SimulatedAnnealing, "Simulated Annealing algorithm is running ...");
}

void TFormMain::SpeedButtonGeneticAlgClick() {
    StartRun(Genetic, "Genetic algorithm is running ...");
}

void TFormMain::StartRun(AlgorithmKind kind, const char* statusText) {
    if (ReadFunctionPage(false) == -1) return;
    // A variable without room would make the neighbour moves and start points meaningless.
    const std::string refusal = UnusableRangeMessage(Parameters);
    if (!refusal.empty()) {
        CurrentDialogs().Message(refusal);
        return;
    }
    SetRunningState();
    IgnoreRunResults = false;
    const std::uint32_t seed = Comparison->NextSeed();
    Worker = OptimizationThread::Start(Parameters, kind, OptimizationThread::Options{seed, {}});
    Comparison->RunStarted(kind, Parameters, EditFunctionName->text().toStdString(), seed);
    // Also during the wave demonstration, so that the end of this run is noticed.
    WaveDemoRunning = false;
    TimerChart->start();
    ShowPage(TabSheetChart);
    StatusBar->showMessage(statusText);
}

QList<QWidget*> TFormMain::RunLockedWidgets() const {
    return {SpeedButtonNew,      SpeedButtonOpen, SpeedButtonSave,       SpeedButtonGreedy,
            SpeedButtonSteepest, SpeedButtonSA,   SpeedButtonGeneticAlg, StringGridVariables};
}

QList<QAction*> TFormMain::RunLockedActions() const {
    return {Nowafunkcja1, Wczytajwyniki1,       Zapiszwyniki1,       Greedy1,
            Steepest1,    Symulowanewyarzanie1, AlgorytmGenetyczny1, Demonstracja1};
}

void TFormMain::SetRunningState() {
    for (QWidget* w : RunLockedWidgets()) w->setEnabled(false);
    for (QAction* a : RunLockedActions()) a->setEnabled(false);
    EditFunction->setReadOnly(true);
    SpeedButtonPause->setChecked(false);
    Pauza1->setChecked(false);
    StopRequested = false;
    SolutionsNotSaved = true;
}

void TFormMain::SetIdleState() {
    StopRequested = true;
    for (QWidget* w : RunLockedWidgets()) w->setEnabled(true);
    for (QAction* a : RunLockedActions()) a->setEnabled(true);
    EditFunction->setReadOnly(false);
    Pauza1->setChecked(false);
    Paused = false;
    SpeedButtonPause->setChecked(false);
    SetHint(SpeedButtonPause, "Pause calculation");
    StatusBar->clearMessage();
    if (Worker) {
        Comparison->RunEnded(RunSolutions, Worker->Evaluations(), !Worker->IsFinished());
    }
    if (Worker) {
        // The worker ends by itself (a paused one too) and is released when it has; the window
        // does not wait for it.
        Worker->Terminate();
        Worker.reset();
    }
}

void TFormMain::SpeedButtonPauseClick() {
    Paused = SpeedButtonPause->isChecked();
    SetHint(SpeedButtonPause, Paused ? "Continue calculation" : "Pause calculation");
    Pauza1->setChecked(Paused);
    ApplyPauseState();
}

void TFormMain::Pauza1Click() {
    if (Pauza1->isChecked()) {
        Pauza1->setChecked(false);
        Paused = false;
        SpeedButtonPause->setChecked(false);
        SetHint(SpeedButtonPause, "Wstrzymaj obliczenia");
    } else {
        Paused = true;
        SetHint(SpeedButtonPause, "Kontynuj obliczenia");
        SpeedButtonPause->setChecked(true);
        Pauza1->setChecked(true);
    }
    ApplyPauseState();
}

void TFormMain::ApplyPauseState() {
    if (!Worker) return;
    if (Paused) {
        Worker->Hold();
    } else {
        Worker->Resume();
    }
}

void TFormMain::SpeedButtonStopClick() {
    SetIdleState();
}

void TFormMain::TimerChartTimer() {
    ListChange change = ListChange::None;
    const bool ended = PollRun(Worker.get(), IgnoreRunResults, RunSolutions, RunPopulation,
                               RunSolutionsRun, &change);
    if (Worker && !IgnoreRunResults) Comparison->Tick(RunSolutions, RunPopulation, Worker.get());
    if (ended) SetIdleState();
    solutionsChange_ = CombineChanges(solutionsChange_, change);
    markerFeed_.Note(change);
    QWidget* page = PageControlMain->currentWidget();
    const bool chartFedBefore = std::exchange(chartFedLastTick_, page == TabSheetChart);
    if (page == TabSheetChart) {
        const MarkerAxes axes{AxisXVariable, AxisYVariable, DisplayXMin,
                              DisplayXMax,   DisplayYMin,   DisplayYMax};
        ChartModel& chart = PanelChart->Chart();
        chart.SetSurface(DisplayXMin, DisplayXMax, DisplayYMin, DisplayYMax, HeightMin, HeightMax,
                         SurfaceSamples);
        if (!chartFedBefore) markerFeed_.Rebuild();
        markerFeed_.Update(RunSolutions, axes, chart);
        chart.SetPopulationPoints(PopulationMarkers(RunPopulation, axes));
        ChartReady = true;
        PanelChart->SetChartReady(true);
        PanelChart->RedrawOnTick(TimerChart->interval());
    } else if (page == TabSheetSolutions) {
        // The page's refill without its layout, which would undo the user's column widths at
        // every tick; the table is laid out again when its columns change.
        FillSolutionsGrid();
    }
}

namespace {

QString ResultLabelText(const std::string& text) {
    return text.empty() ? QString("-") : QString::fromStdString(text);
}

// Rows inserted at the top would push the rows in view down: a table scrolled away from its top
// keeps showing the same solutions. At the top it stays there, where the new solutions come in.
void KeepRowsInView(QTableView* table, int scrolledTo, int insertedRows) {
    if (scrolledTo == 0 || insertedRows <= 0) return;
    // The scroll range follows the new rows only after a layout.
    table->doItemsLayout();
    const int step = table->verticalScrollMode() == QAbstractItemView::ScrollPerItem
                         ? 1
                         : table->verticalHeader()->defaultSectionSize();
    table->verticalScrollBar()->setValue(scrolledTo + insertedRows * step);
}

}  // namespace

void TFormMain::FillSolutionsGrid() {
    std::vector<std::string> names;
    for (const VariableSpec& v : Parameters.Variables()) names.push_back(v.Name);
    const ListChange change = std::exchange(solutionsChange_, ListChange::None);
    const int rowsBefore = SolutionsModel->rowCount();
    const int scrolledTo = StringGridSolutions->verticalScrollBar()->value();
    const bool reset = SolutionsModel->Show(names, &RunSolutions, change);
    if (reset) {
        LayoutSolutionsGrid();
    } else {
        KeepRowsInView(StringGridSolutions, scrolledTo, SolutionsModel->rowCount() - rowsBefore);
    }
    if (!reset && change == ListChange::None && labelsMaximize_ == Parameters.Maximize()) return;
    labelsMaximize_ = Parameters.Maximize();
    LabelBeforeOpt->setText(ResultLabelText(InitialSolutionText(RunSolutions)));
    LabelAfterOpt->setText(
        ResultLabelText(OptimalSolutionText(RunSolutions, Parameters.Maximize())));
}

void TFormMain::ShowReplacedRunSolutions() {
    RunSolutionsRun = 0;
    solutionsChange_ = ListChange::Replaced;
    markerFeed_.Rebuild();
    FillSolutionsGrid();
}

bool TFormMain::FormClose() {
    WaveDemoRunning = false;
    if (!SolutionsNotSaved) return true;
    return CurrentDialogs().Confirm("Closing program", "Really close ?");
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (!FormClose()) {
        event->ignore();
        return;
    }
    // A running worker is told to end and left to release itself; nothing waits for it.
    if (Worker) {
        StopRequested = true;
        Worker->Terminate();
        Worker.reset();
    }
    event->accept();
}

}  // namespace quarmel
