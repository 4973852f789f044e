#include "ui/plots/RunComparison.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QImage>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QTimer>

#include "algorithms/AlgorithmTable.h"
#include "algorithms/Optimizationthread.h"
#include "app/examples/OptimumGap.h"
#include "app/examples/ProblemIdentity.h"
#include "app/experiment/ExperimentSetup.h"
#include "app/plot/Convergence.h"
#include "app/plot/PictureScale.h"
#include "app/runs/RunRecords.h"
#include "app/tables/CsvTables.h"
#include "app/text/TableText.h"
#include "model/Random.h"
#include "model/Settings.h"
#include "ui/chart/ChartPage.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/experiment/ExperimentWindow.h"
#include "ui/mainwindow/Mainform.h"
#include "ui/mainwindow/StatusLine.h"
#include "ui/plots/ConvergencePlot.h"
#include "ui/plots/PictureExport.h"
#include "ui/plots/RunsDock.h"

namespace quarmel {

namespace {

QAction* AddRunsItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

}  // namespace

RunComparison::RunComparison(TFormMain* form) : QObject(form), form_(form) {
    Dock = new RunsDock(form);
    // Docked beside the pages, hidden until asked for; the window widens to make room.
    form->addDockWidget(Qt::RightDockWidgetArea, Dock);
    Dock->hide();

    // A menu of its own before Help, so every other menu and item keeps its place and keys.
    MenuRuns = new QMenu("&Runs", form);
    MenuRuns->setObjectName("MenuRuns");
    form->menuBar()->insertMenu(form->HelpMenu()->menuAction(), MenuRuns);
    ConvergencePlot1 = Dock->toggleViewAction();
    ConvergencePlot1->setObjectName("ConvergencePlot1");
    ConvergencePlot1->setText("&Convergence plot");
    ConvergencePlot1->setShortcut(QKeySequence("F3"));
    MenuRuns->addAction(ConvergencePlot1);
    connect(ConvergencePlot1, &QAction::toggled, this, &RunComparison::MakeRoomForDock);
    ClearRuns1 = AddRunsItem(MenuRuns, "ClearRuns1", "C&lear compared runs");
    MenuRuns->addSeparator();
    ExportChart1 = AddRunsItem(MenuRuns, "ExportChart1", "Export c&hart as PNG...");
    ExportPlotPng1 = AddRunsItem(MenuRuns, "ExportPlotPng1", "Export plot as &PNG...");
    ExportPlotSvg1 = AddRunsItem(MenuRuns, "ExportPlotSvg1", "Export plot as S&VG...");
    ExportSolutions1 = AddRunsItem(MenuRuns, "ExportSolutions1", "Export &solutions as CSV...");
    ExportRuns1 = AddRunsItem(MenuRuns, "ExportRuns1", "Export r&uns as CSV...");
    MenuRuns->addSeparator();
    Experiment1 = AddRunsItem(MenuRuns, "Experiment1", "E&xperiment...");
    connect(Experiment1, &QAction::triggered, this, &RunComparison::OpenExperiment);
    connect(ClearRuns1, &QAction::triggered, Dock, &RunsDock::ClearRuns);
    connect(ExportChart1, &QAction::triggered, this, &RunComparison::ExportChartPng);
    connect(ExportPlotPng1, &QAction::triggered, this, &RunComparison::ExportPlotPng);
    connect(ExportPlotSvg1, &QAction::triggered, this, &RunComparison::ExportPlotSvg);
    connect(ExportSolutions1, &QAction::triggered, this, &RunComparison::ExportSolutionsCsv);
    connect(ExportRuns1, &QAction::triggered, this, &RunComparison::ExportRunsCsv);
    connect(MenuRuns, &QMenu::aboutToShow, this, &RunComparison::UpdateExports);
    connect(ClearRuns1, &QAction::triggered, this, &RunComparison::UpdateExports);
    UpdateExports();

    statusLine_ = std::make_unique<StatusLine>(form->statusBar());
    form->SolutionsTable()->installEventFilter(this);
}

RunComparison::~RunComparison() = default;

bool RunComparison::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_->SolutionsTable() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        if (event->type() == QEvent::KeyPress) CopySelectedSolutions();
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void RunComparison::UpdateExports() {
    const bool plotted = !Dock->Plot().Runs().empty();
    ExportChart1->setEnabled(form_->HasChart());
    ExportPlotPng1->setEnabled(plotted);
    ExportPlotSvg1->setEnabled(plotted);
    ExportSolutions1->setEnabled(!form_->Solutions().Empty());
    ExportRuns1->setEnabled(!Dock->Runs().empty());
}

void RunComparison::CopySelectedSolutions() const {
    std::vector<SelectedCell> cells;
    for (const QModelIndex& i : form_->SolutionsTable()->selectionModel()->selectedIndexes()) {
        cells.push_back({i.row(), i.column(), i.data().toString().toStdString()});
    }
    if (cells.empty()) return;
    QApplication::clipboard()->setText(QString::fromStdString(TabSeparated(cells)));
}

SeedChoice RunComparison::NextSeed() const {
    return ChooseSeed(Dock->FixedSeedOn(), Dock->FixedSeedText(), ClockSeed());
}

std::optional<SeedChoice> RunComparison::FixedSeed() const {
    if (!Dock->FixedSeedOn()) return std::nullopt;
    return ChooseSeed(true, Dock->FixedSeedText(), 0);
}

void RunComparison::RunStarted(AlgorithmKind kind, const AlgParameters& params,
                               const std::string& problem, std::uint32_t seed) {
    live_ = true;
    kind_ = kind;
    params_ = params;
    seed_ = seed;
    problem_ = problem;
    // The runs table names the file as the experiment's does.
    problemFile_ = ProblemFileColumn(form_->ProblemFile(), params, problem);
    known_ = form_->KnownProblem();
    Dock->BeginRun(RunLabel(++runsBegun_, kind, ChangedSettingsText(params, kind), seed),
                   ProblemKey(params), params.Maximize());
    status_.Start(kind, params, seed);
    ShowSession();
    UpdateExports();
}

void RunComparison::Tick(const SolutionList& solutions, const SolutionList& population,
                         const OptimizationThread* worker) {
    if (!live_) return;
    // The evaluations of the solutions the plot lacks, taken after the solutions were: there are
    // at least as many.
    const std::vector<unsigned long long> evaluations =
        worker ? worker->SnapshotEvaluationsFrom(Dock->Plot().CurrentCount())
               : std::vector<unsigned long long>();
    Dock->UpdateRun(solutions, evaluations, population);
    status_.Published(solutions.Count());
    if (worker) {
        const OptimizationThread::AnnealingStage stage = worker->Stage();
        status_.Stage(stage.Number, stage.Heating, stage.Temperature);
        status_.Counted(worker->UndefinedEvaluations(), worker->Evaluations());
    }
    ShowSession();
}

void RunComparison::ShowSession() {
    if (!live_) return;
    status_.Elapsed(form_->Session().ElapsedSeconds());
    status_.SetPaused(form_->Session().Paused());
    statusLine_->Show(status_);
}

void RunComparison::RunEnded(const SolutionList& solutions, unsigned long long evaluations,
                             bool stopped) {
    if (!live_) return;
    Tick(solutions, SolutionList(), form_->RunWorker().get());
    live_ = false;
    const auto& worker = form_->RunWorker();
    if (worker) status_.Counted(worker->UndefinedEvaluations(), worker->Evaluations());
    status_.End();
    statusLine_->Show(status_);
    Dock->EndRun(Record(solutions, evaluations, worker.get(), stopped), solutions);
    UpdateExports();
}

RunRecord RunComparison::Record(const SolutionList& solutions, unsigned long long evaluations,
                                const OptimizationThread* worker, bool stopped) const {
    // The run's own processor time: pauses, the delays and the display are not the run's cost.
    RunRecord record = RecordRun(kind_, params_, problem_, problemFile_, seed_, solutions,
                                 evaluations, worker ? worker->CpuSeconds() : 0.0, stopped);
    if (worker) record.Undefined = worker->UndefinedEvaluations();
    record.Known = known_;
    if (known_ && record.Best)
        record.GapText = OptimumGapText(*record.Best, *known_, params_.Maximize());
    return record;
}

void RunComparison::LaneEnded(AlgorithmKind kind, const AlgParameters& params, std::uint32_t seed,
                              const OptimizationThread& worker, bool stopped) {
    if (live_) return;
    kind_ = kind;
    params_ = params;
    seed_ = seed;
    problem_ = form_->ProblemName();
    problemFile_ = ProblemFileColumn(form_->ProblemFile(), params, problem_);
    known_ = form_->KnownProblem();
    const SolutionList solutions = worker.SnapshotSolutions();
    Dock->BeginRun(RunLabel(++runsBegun_, kind, ChangedSettingsText(params, kind), seed),
                   ProblemKey(params), params.Maximize());
    Dock->UpdateRun(solutions, worker.SnapshotEvaluationsFrom(0), SolutionList());
    Dock->EndRun(Record(solutions, worker.Evaluations(), &worker, stopped), solutions);
    UpdateExports();
}

void RunComparison::ShowPathsOn(ChartPage* chart) {
    connect(Dock, &RunsDock::ShownPathsChanged, chart,
            [this, chart] { chart->SetKeptPaths(Dock->ShownPaths()); });
}

std::vector<KeptPath> RunComparison::ShownPaths() const {
    return Dock->ShownPaths();
}

std::size_t RunComparison::RunsBegun() const {
    return Dock->Plot().RunsBegun();
}

void RunComparison::ChooseRun(std::size_t number) {
    Dock->SetCurrentRun(number);
}

void RunComparison::SetKnownOptimum(std::optional<double> optimum) {
    Dock->SetKnownOptimum(optimum);
}

void RunComparison::MakeRoomForDock(bool shown) {
    if (form_->isMaximized() || form_->isFullScreen()) return;
    if (!shown) {
        // Once the dock has left the layout, which until then holds the window's width.
        QTimer::singleShot(0, this, [this, by = grownBy_] {
            if (by > 0) form_->resize(form_->width() - by, form_->height());
        });
        grownBy_ = 0;
        return;
    }
    if (Dock->isFloating() || grownBy_ > 0) return;
    // The dock and the separator beside it.
    const int separator =
        form_->style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, form_);
    const int want = Dock->sizeHint().width() + separator;
    QRect room(form_->geometry().topLeft(), QSize(form_->width() + want, form_->height()));
    if (const QScreen* screen = form_->screen()) {
        const QRect area = screen->availableGeometry();
        room.setWidth(std::min(room.width(), area.width()));
        if (room.right() > area.right()) room.moveRight(area.right());
    }
    grownBy_ = room.width() - form_->width();
    form_->setGeometry(room);
    form_->resizeDocks({Dock}, {grownBy_ - separator}, Qt::Horizontal);
}

void RunComparison::ExportChartPng() {
    const std::string path =
        CurrentDialogs().SaveFileName(ExportDialog("PNG image", "png", "chart"));
    if (path.empty()) return;
    const QImage frame = form_->ChartPicture();
    if (frame.isNull()) {
        CurrentDialogs().Message("The chart has not been drawn yet.");
        return;
    }
    WriteExport(path, PngBytes(frame));
}

void RunComparison::ExportPlotPng() {
    const std::string path =
        CurrentDialogs().SaveFileName(ExportDialog("PNG image", "png", "convergence"));
    if (path.empty()) return;
    const ConvergencePlot& plot = Dock->Plot();
    WriteExport(path, WidgetPng(
                          plot, [&](QPainter& p, const QRect& r) { plot.Paint(p, r, true); },
                          PictureScale(path)));
}

void RunComparison::ExportPlotSvg() {
    const std::string path =
        CurrentDialogs().SaveFileName(ExportDialog("SVG drawing", "svg", "convergence"));
    if (path.empty()) return;
    const ConvergencePlot& plot = Dock->Plot();
    WriteExport(path, WidgetSvg(plot, "Convergence",
                                [&](QPainter& p, const QRect& r) { plot.Paint(p, r, true); }));
}

void RunComparison::ExportSolutionsCsv() {
    const std::string path =
        CurrentDialogs().SaveFileName(ExportDialog("CSV table", "csv", "solutions"));
    if (path.empty()) return;
    WriteExport(path, SolutionsCsv(form_->Parameters, form_->Solutions()));
}

void RunComparison::OpenExperiment() {
    if (!experiment_) {
        // The kept runs of the problem the window shows, for the target offered first.
        experiment_ = new ExperimentWindow(form_, [this] {
            std::vector<std::optional<float>> bests;
            for (const RunRecord& r : Dock->Runs()) {
                if (r.Problem == form_->ProblemName()) bests.push_back(r.Best);
            }
            return bests;
        });
    }
    experiment_->Open();
}

void RunComparison::ExportRunsCsv() {
    const std::string path =
        CurrentDialogs().SaveFileName(ExportDialog("CSV table", "csv", "runs"));
    if (path.empty()) return;
    WriteExport(path, RunsCsv(Dock->Runs()));
}

}  // namespace quarmel
