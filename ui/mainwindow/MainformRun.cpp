// Running an algorithm from the window: the start commands, the running and idle states, pause
// and stop, the chart timer, and closing the window. The run's state is the RunSession's.
#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "algorithms/Optimizationthread.h"
#include "app/runs/RunProgress.h"
#include "ui/chart/ChartPage.h"
#include "ui/chart/RunReplay.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/mainwindow/Accessibility.h"
#include "ui/mainwindow/FunctionPage.h"
#include "ui/mainwindow/Mainform.h"
#include "ui/mainwindow/RaceRun.h"
#include "ui/mainwindow/SolutionsPage.h"
#include "ui/plots/RunComparison.h"

namespace quarmel {

void TFormMain::ConnectRunCommands() {
    const ToolBarButtons& t = tools_;
    const MainMenuItems& m = menu_;
    ConnectCommands<QToolButton>(
        {
            {t.SpeedButtonNew, &TFormMain::SpeedButtonNewClick},
            {t.SpeedButtonOpen, &TFormMain::SpeedButtonOpenClick},
            {t.SpeedButtonSave, &TFormMain::SpeedButtonSaveClick},
            {t.SpeedButtonGreedy, &TFormMain::SpeedButtonGreedyClick},
            {t.SpeedButtonSteepest, &TFormMain::SpeedButtonSteepestClick},
            {t.SpeedButtonSA, &TFormMain::SpeedButtonSAClick},
            {t.SpeedButtonGeneticAlg, &TFormMain::SpeedButtonGeneticAlgClick},
            {t.SpeedButtonStop, &TFormMain::SpeedButtonStopClick},
        },
        &QToolButton::clicked);
    ConnectCommands<QAction>(
        {
            {m.Nowafunkcja1, &TFormMain::SpeedButtonNewClick},
            {m.Wczytajwyniki1, &TFormMain::SpeedButtonOpenClick},
            {m.Zapiszwyniki1, &TFormMain::SpeedButtonSaveClick},
            {m.Greedy1, &TFormMain::SpeedButtonGreedyClick},
            {m.Steepest1, &TFormMain::SpeedButtonSteepestClick},
            {m.Symulowanewyarzanie1, &TFormMain::SpeedButtonSAClick},
            {m.AlgorytmGenetyczny1, &TFormMain::SpeedButtonGeneticAlgClick},
            {m.Stop1, &TFormMain::SpeedButtonStopClick},
        },
        &QAction::triggered);
    for (QAction* item : m.ReferenceAlgorithms1->actions()) {
        const auto kind = static_cast<AlgorithmKind>(item->data().toInt());
        connect(item, &QAction::triggered, this,
                [this, kind] { quarmel::RunCommand([this, kind] { StartRun(kind); }); });
    }
    // Pause acts on every toggle the user makes: a click, the keyboard, or the accessible
    // toggle a screen reader sends, which toggles without a click. The window's own changes of
    // the check mark are silent (SetPauseChecked).
    connect(t.SpeedButtonPause, &QToolButton::toggled, this,
            [this] { RunCommand(&TFormMain::SpeedButtonPauseClick); });
    // These two handlers decide by the check mark as it was before the click, and set it
    // themselves; Qt has already toggled it when it reports the click.
    const std::pair<QAction*, Handler> checked[] = {
        {m.Pauza1, &TFormMain::Pauza1Click},
        {m.Demonstracja1, &TFormMain::Demonstracja1Click},
    };
    for (const auto& [item, handler] : checked) {
        connect(item, &QAction::triggered, this, [this, a = item, h = handler](bool on) {
            a->setChecked(!on);
            RunCommand(h);
        });
    }
    connect(TimerChart, &QTimer::timeout, this,
            [this] { RunCommand(&TFormMain::TimerChartTimer); });
    connect(TimerDemo, &QTimer::timeout, this, [this] { RunCommand(&TFormMain::TimerDemoTimer); });
    // A step the user chose is drawn at once, not at the next tick.
    connect(replay_, &RunReplay::StepShown, this, [this] {
        chart_->NoteChange(replay_->TakePathChange());
        chart_->Tick(replay_->ShownSolutions(), replay_->ShownPopulation(runPopulation_),
                     TimerChart->interval());
    });
    installEventFilter(this);
}

void TFormMain::SpeedButtonGreedyClick() {
    StartRun(Greedy);
}

void TFormMain::SpeedButtonSteepestClick() {
    StartRun(Steepest);
}

void TFormMain::SpeedButtonSAClick() {
    StartRun(SimulatedAnnealing);
}

void TFormMain::SpeedButtonGeneticAlgClick() {
    StartRun(Genetic);
}

bool TFormMain::StartRun(AlgorithmKind kind, std::optional<std::uint32_t> raceSeed) {
    if (ReadFunctionPage(false) == -1) return false;
    // A variable without room would make the neighbour moves and start points meaningless.
    const std::string refusal = UnusableRangeMessage(Parameters);
    if (!refusal.empty()) {
        CurrentDialogs().Message(refusal);
        return false;
    }
    SeedChoice seedChoice;
    if (raceSeed) {
        seedChoice.Seed = *raceSeed;
    } else {
        seedChoice = Comparison->NextSeed();
    }
    if (!seedChoice.Refusal.empty()) {
        CurrentDialogs().Message(seedChoice.Refusal);
        return false;
    }
    const std::uint32_t seed = seedChoice.Seed;
    race_->Forget();
    replay_->Finish();
    chart_->MarkPickedStart(std::nullopt);  // the picked start was marked until this run
    SetRunningState();
    session_.Start(seed);
    RememberPage();
    worker_ = OptimizationThread::Start(Parameters, kind, OptimizationThread::Options{seed, {}});
    Comparison->RunStarted(kind, Parameters, function_->ProblemName(), seed);
    // Also during the wave demonstration, so that the end of this run is noticed.
    chart_->SetWaveMode(false);
    TimerChart->start();
    ShowPage(chart_);
    return true;
}

void TFormMain::EnableRunLockedCommands(bool enabled) {
    const ToolBarButtons& t = tools_;
    const MainMenuItems& m = menu_;
    for (QWidget* w : {t.SpeedButtonNew, t.SpeedButtonOpen, t.SpeedButtonSave, t.SpeedButtonGreedy,
                       t.SpeedButtonSteepest, t.SpeedButtonSA, t.SpeedButtonGeneticAlg}) {
        w->setEnabled(enabled);
    }
    for (QAction* a : {m.Nowafunkcja1, m.Wczytajwyniki1, m.Zapiszwyniki1, m.Greedy1, m.Steepest1,
                       m.Symulowanewyarzanie1, m.AlgorytmGenetyczny1, m.Demonstracja1,
                       m.ReferenceAlgorithms1->menuAction()}) {
        a->setEnabled(enabled);
    }
    if (race_) race_->Item()->setEnabled(enabled);
    function_->SetRunning(!enabled);
}

void TFormMain::SetRunningState() {
    EnableRunLockedCommands(false);
    SetPauseChecked(false);
    menu_.Pauza1->setChecked(false);
}

void TFormMain::SetPauseChecked(bool checked) {
    const QSignalBlocker quiet(tools_.SpeedButtonPause);
    tools_.SpeedButtonPause->setChecked(checked);
}

void TFormMain::SetIdleState() {
    session_.RequestStop();
    EnableRunLockedCommands(true);
    menu_.Pauza1->setChecked(false);
    SetPauseChecked(false);
    SetHint(tools_.SpeedButtonPause, "Pause calculation");
    StatusBar->clearMessage();
    if (worker_) {
        const bool finished = worker_->IsFinished();
        Comparison->RunEnded(runSolutions_, worker_->Evaluations(), !finished);
        session_.Ended(finished);
        const bool ownList = !session_.ResultsIgnored();
        std::shared_ptr<const GenerationStore> generations =
            ownList ? worker_->TakeGenerations() : nullptr;
        // The race's other lanes follow the window's run in the runs table.
        race_->End(generations);
        replay_->Begin(std::move(generations), ownList);
        // The worker ends by itself (a paused one too) and is released when it has; the window
        // does not wait for it.
        worker_->Terminate();
        worker_.reset();
    }
}

void TFormMain::ShowPauseState(bool paused, const char* hint) {
    SetHint(tools_.SpeedButtonPause, hint);
    SetPauseChecked(paused);
    menu_.Pauza1->setChecked(paused);
    ApplyPauseState(paused);
}

void TFormMain::SpeedButtonPauseClick() {
    const bool paused = tools_.SpeedButtonPause->isChecked();
    ShowPauseState(paused, paused ? "Continue calculation" : "Pause calculation");
}

void TFormMain::Pauza1Click() {
    // The menu item's own texts for the button's hint.
    if (menu_.Pauza1->isChecked()) {
        ShowPauseState(false, "Wstrzymaj obliczenia");
    } else {
        ShowPauseState(true, "Kontynuj obliczenia");
    }
}

void TFormMain::ApplyPauseState(bool paused) {
    session_.SetPaused(paused);
    if (!worker_) return;
    Comparison->ShowSession();
    race_->SetPaused(paused);
    if (paused) {
        worker_->Hold();
    } else {
        worker_->Resume();
    }
}

void TFormMain::SpeedButtonStopClick() {
    SetIdleState();
}

void TFormMain::TimerChartTimer() {
    ListChange change = ListChange::None;
    const bool ignored = session_.ResultsIgnored();
    const bool ended =
        PollRun(worker_.get(), ignored, runSolutions_, runPopulation_, runSolutionsRun_, &change);
    if (worker_ && !ignored) {
        Comparison->Tick(runSolutions_, runPopulation_, worker_.get());
        session_.SetPublished(runSolutions_.Count());
    }
    // A race ends when its last lane has.
    race_->Tick(runSolutions_, ended);
    if (ended && !race_->Running()) SetIdleState();
    replay_->Tick(TimerChart->interval());
    solutions_->NoteChange(change);
    chart_->NoteChange(change);
    chart_->NoteChange(replay_->TakePathChange());
    chart_->Tick(replay_->ShownSolutions(), replay_->ShownPopulation(runPopulation_),
                 TimerChart->interval());
    // The page's refill without its layout, which would undo the user's column widths at every
    // tick; the table is laid out again when its columns change.
    if (PageControlMain->currentWidget() == solutions_) solutions_->FillSolutionsGrid();
}

void TFormMain::ShowReplacedRunSolutions() {
    replay_->Finish();
    runSolutionsRun_ = 0;
    solutions_->NoteChange(ListChange::Replaced);
    chart_->NoteChange(ListChange::Replaced);
    solutions_->FillSolutionsGrid();
}

bool TFormMain::FormClose() {
    chart_->SetWaveMode(false);
    if (!session_.Unsaved()) return true;
    return CurrentDialogs().Confirm("Closing program", "Really close ?", DefaultButton::No);
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (!FormClose()) {
        event->ignore();
        return;
    }
    // A running worker is told to end and left to release itself; nothing waits for it.
    if (worker_) {
        race_->End();
        session_.RequestStop();
        session_.Ended(worker_->IsFinished());
        worker_->Terminate();
        worker_.reset();
    }
    event->accept();
}

}  // namespace quarmel
