#include "ui/experiment/ExperimentWindow.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>

#include "algorithms/AlgorithmTable.h"
#include "app/experiment/ExperimentSetup.h"
#include "app/plot/PictureScale.h"
#include "app/runs/RunProgress.h"
#include "app/stats/Verdicts.h"
#include "app/text/NumberText.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/experiment/ExperimentPlot.h"
#include "ui/mainwindow/Mainform.h"
#include "ui/mainwindow/ScreenFit.h"
#include "ui/plots/PictureExport.h"

namespace quarmel {

namespace {

// An algorithm's check box: "CheckExperiment" and its key capitalised.
QString CheckName(const AlgorithmRow& row) {
    QString key = row.Key;
    return "CheckExperiment" + key.left(1).toUpper() + key.mid(1);
}

// Rank (by median best) and the algorithms each is significantly better than (rank-sum test,
// Holm-corrected, 5 %) close the row; the rows come in rank order.
const char* const kColumns[] = {"Algorithm",
                                "Runs",
                                "Reached",
                                "ERT",
                                "Median",
                                "Mean",
                                "Std dev",
                                "Mean evaluations",
                                "CPU seconds",
                                "Rank",
                                "Better than (p < 0.05)"};

QLineEdit* AddEdit(QFormLayout* form, const char* name, const char* caption, const QString& text) {
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    QString plain = caption;
    edit->setAccessibleName(plain.remove('&'));
    form->addRow(caption, edit);
    return edit;
}

QPushButton* AddButton(QBoxLayout* row, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    row->addWidget(button);
    return button;
}

QString Figure(const std::optional<double>& value) {
    return value ? QString::fromStdString(GeneralText(*value, 6)) : QString("-");
}

}  // namespace

ExperimentWindow::ExperimentWindow(TFormMain* form,
                                   std::function<std::vector<std::optional<float>>()> keptBests)
    : QDialog(form), form_(form), keptBests_(std::move(keptBests)) {
    setObjectName("ExperimentWindow");
    setWindowTitle("Experiment");
    // The content scrolls where the screen has less room than it needs.
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    auto* scroll = new QScrollArea;
    scroll->setObjectName("ScrollExperiment");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);  // not a stop of its own for Tab
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    auto* setup = new QGroupBox("Runs");
    auto* setupRow = new QHBoxLayout(setup);
    // The window's own algorithms in the first column, checked; the references beside them.
    auto* kinds = new QGridLayout;
    int rows[2] = {0, 0};
    for (std::size_t k = 0; k < kAlgorithmCount; ++k) {
        const AlgorithmRow& row = kAlgorithms[k];
        auto* box = new QCheckBox(row.Caption);
        box->setObjectName(CheckName(row));
        box->setChecked(!row.Reference);
        const int column = row.Reference ? 1 : 0;
        kinds->addWidget(box, rows[column]++, column);
        algorithms_.push_back(box);
    }
    kinds->setRowStretch(std::max(rows[0], rows[1]), 1);
    setupRow->addLayout(kinds);
    auto* numbers = new QFormLayout;
    seeds_ = AddEdit(numbers, "EditExperimentSeeds", "Seeds", "30");
    firstSeed_ = AddEdit(numbers, "EditExperimentFirstSeed", "First seed", "1");
    setupRow->addLayout(numbers);
    auto* limits = new QFormLayout;
    // The batch runner's budget, so that the same runs come out of both programs by default.
    evaluations_ = AddEdit(limits, "EditExperimentEvaluations", "Evaluations per run",
                           QString::number(kDefaultMaxEvaluations));
    seconds_ = AddEdit(limits, "EditExperimentSeconds", "Seconds per run", "");
    target_ = AddEdit(limits, "EditExperimentTarget", "Target value", "");
    for (QLineEdit* e : {evaluations_, seconds_, target_}) e->setPlaceholderText("none");
    setupRow->addLayout(limits);
    layout->addWidget(setup);

    auto* runRow = new QHBoxLayout;
    start_ = AddButton(runRow, "ButtonExperimentStart", "S&tart");
    cancel_ = AddButton(runRow, "ButtonExperimentCancel", "&Cancel");
    progress_ = new QProgressBar;
    progress_->setObjectName("ProgressExperiment");
    progress_->setAccessibleName("Experiment progress");
    runRow->addWidget(progress_, 1);
    logScale_ = new QCheckBox("&Log scale of values");
    logScale_->setObjectName("CheckExperimentLogScale");
    logScale_->setChecked(true);
    runRow->addWidget(logScale_);
    state_ = new QLabel("Choose the algorithms and press Start.");

    state_->setObjectName("LabelExperimentState");
    runRow->addWidget(state_);
    layout->addLayout(runRow);

    auto* plotsRow = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* column = new QVBoxLayout;
        plots_[i] = new ExperimentPlot(ExperimentPlot::Kind(i));
        column->addWidget(plots_[i], 1);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        for (bool svg : {false, true}) {
            const QString name =
                plots_[i]->objectName().replace("Plot", "ExportPlot") + (svg ? "Svg" : "Png");
            QPushButton* b =
                AddButton(buttons, name.toLatin1().constData(), svg ? "SVG..." : "PNG...");
            b->setAccessibleName("Export \"" + plots_[i]->Title() + "\" as " +
                                 (svg ? "SVG" : "PNG"));
            connect(b, &QPushButton::clicked, this,
                    [this, plot = plots_[i], svg] { ExportPlot(plot, svg); });
            plotExports_.push_back(b);
        }
        column->addLayout(buttons);
        plotsRow->addLayout(column, 1);
    }
    layout->addLayout(plotsRow, 3);

    table_ = new QTableWidget(0, int(std::size(kColumns)));
    table_->setObjectName("TableExperiment");
    table_->setAccessibleName("Experiment results");
    for (int c = 0; c < table_->columnCount(); ++c) {
        table_->setHorizontalHeaderItem(c, new QTableWidgetItem(kColumns[c]));
    }
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab goes on to the export buttons; the arrows move within the table.
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Room for a row per algorithm without scrolling.
    table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() +
                             4 * table_->verticalHeader()->defaultSectionSize() +
                             2 * table_->frameWidth() + 2);
    layout->addWidget(table_, 1);

    auto* exportRow = new QHBoxLayout;
    exportRow->addStretch();
    exportRuns_ = AddButton(exportRow, "ButtonExperimentRunsCsv", "Export &runs as CSV...");
    exportLong_ = AddButton(exportRow, "ButtonExperimentLongCsv", "Export lo&ng table as CSV...");
    layout->addLayout(exportRow);

    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, &ExperimentWindow::ShowProgress);
    connect(start_, &QPushButton::clicked, this, [this] { RunCommand([this] { Start(); }); });
    connect(cancel_, &QPushButton::clicked, this, &ExperimentWindow::Cancel);
    connect(exportRuns_, &QPushButton::clicked, this, [this] { ExportTable(true); });
    connect(exportLong_, &QPushButton::clicked, this, [this] { ExportTable(false); });
    connect(logScale_, &QCheckBox::toggled, this, [this](bool on) {
        for (ExperimentPlot* p : plots_) p->SetLogValues(on);
    });
    connect(target_, &QLineEdit::textEdited, this, [this] { targetEdited_ = true; });
    scroll->setWidget(content);
    FitToScreen(this, QSize(1180, 760));
    UpdateControls();
}

ExperimentWindow::~ExperimentWindow() {
    if (worker_.joinable()) {
        control_->Cancel = true;
        worker_.join();
    }
}

void ExperimentWindow::Open() {
    if (!targetEdited_ && !Running()) {
        const std::optional<double> target =
            DefaultTarget(form_->KnownProblem(), keptBests_(), form_->Parameters.Maximize());
        target_->setText(target ? QString::fromStdString(ShortestText(*target)) : QString());
    }
    show();
    raise();
    activateWindow();
}

void ExperimentWindow::reject() {
    // A hidden window's runs would keep every core busy with nothing to show for it.
    if (Running() && !(control_ && control_->Cancel)) {
        if (!CurrentDialogs().Confirm("Experiment", "Stop the experiment's runs and close?",
                                      DefaultButton::No)) {
            return;
        }
        Cancel();
    }
    QDialog::reject();
}

void ExperimentWindow::Start() {
    if (Running()) return;
    ExperimentTexts texts;
    for (std::size_t k = 0; k < algorithms_.size(); ++k) {
        if (algorithms_[k]->isChecked()) texts.Algorithms.push_back(KindAt(k));
    }
    texts.Seeds = seeds_->text().toStdString();
    texts.FirstSeed = firstSeed_->text().toStdString();
    texts.Evaluations = evaluations_->text().toStdString();
    texts.Seconds = seconds_->text().toStdString();
    texts.Target = target_->text().toStdString();
    const ExperimentReading reading = ReadExperimentTexts(texts);
    if (!reading.Refusal.empty()) {
        CurrentDialogs().Message(reading.Refusal);
        return;
    }
    // The main window's problem and settings as a run from it would take them; while one of its
    // runs goes on, its pages are locked and hold what that run took.
    if (!form_->Session().Active() && form_->ReadFunctionPage(false) == -1) return;
    const std::string refusal = UnusableRangeMessage(form_->Parameters);
    if (!refusal.empty()) {
        CurrentDialogs().Message(refusal);
        return;
    }
    const std::string file =
        ProblemFileColumn(form_->ProblemFile(), form_->Parameters, form_->ProblemName());
    plan_ = std::make_unique<ExperimentPlan>(reading.Setup, form_->Parameters, file,
                                             form_->ProblemName());
    control_ = std::make_unique<ExperimentControl>();
    control_->Total = plan_->Runs().size();
    outcomes_.clear();
    ShowFigures();
    const int jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    worker_ = std::thread([this, plan = plan_.get(), control = control_.get(), jobs] {
        // A lower priority for this thread and the engine's workers it starts (Linux threads
        // inherit it), so that the window's own thread is served first on busy cores.
        setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 5);
        std::vector<RunOutcome> outcomes;
        RunExperiment(plan->Runs(), jobs, *control,
                      [&](std::size_t, RunOutcome run) { outcomes.push_back(std::move(run)); });
        // Handed to the window's thread; dropped unread if the window is gone by then.
        QMetaObject::invokeMethod(
            this,
            [this, outcomes = std::move(outcomes)]() mutable { Finished(std::move(outcomes)); },
            Qt::QueuedConnection);
    });
    timer_->start();
    ShowProgress();
    UpdateControls();
}

void ExperimentWindow::Cancel() {
    if (!Running()) return;
    control_->Cancel = true;
    state_->setText("Cancelling...");
    cancel_->setEnabled(false);
}

void ExperimentWindow::ShowProgress() {
    if (!control_) return;
    const std::size_t total = control_->Total, done = control_->Done;
    progress_->setRange(0, static_cast<int>(total));
    progress_->setValue(static_cast<int>(done));
    if (Running() && !control_->Cancel) {
        state_->setText(QString("%1 of %2 runs done").arg(done).arg(total));
    }
}

void ExperimentWindow::Finished(std::vector<RunOutcome> outcomes) {
    if (worker_.joinable()) worker_.join();
    timer_->stop();
    ShowProgress();
    outcomes_ = std::move(outcomes);
    const std::size_t total = plan_->Runs().size();
    state_->setText(
        outcomes_.size() == total
            ? QString("%1 runs done").arg(total)
            : QString("Cancelled: %1 of %2 runs kept").arg(outcomes_.size()).arg(total));
    ShowFigures();
    UpdateControls();
}

void ExperimentWindow::ShowFigures() {
    std::vector<AlgorithmFigures> figures;
    table_->setRowCount(0);
    if (!outcomes_.empty()) {
        const bool maximize = plan_->Maximize();
        const std::optional<double> target = plan_->Setup().Target;
        unsigned long long last = 1;
        for (const RunOutcome& r : outcomes_) last = std::max(last, r.Evaluations);
        const std::vector<unsigned long long> grid = LogGrid(last, 20);
        const auto groups = plan_->ByAlgorithm(outcomes_);
        std::vector<std::size_t> shown;  // the groups with runs
        std::vector<SeriesSample> samples;
        for (std::size_t a = 0; a < groups.size(); ++a) {
            if (groups[a].empty()) continue;
            shown.push_back(a);
            samples.push_back({AlgorithmName(plan_->Setup().Algorithms[a]), {}});
            for (const RunOutcome& r : groups[a]) {
                if (r.Best) samples.back().Bests.push_back(*r.Best);
            }
        }
        const SeriesVerdicts verdicts = JudgeSeries(samples, maximize);
        for (std::size_t i : verdicts.Order) {
            const std::vector<RunOutcome>& runs = groups[shown[i]];
            const AlgorithmKind kind = plan_->Setup().Algorithms[shown[i]];
            AlgorithmFigures f;
            f.Name = AlgorithmName(kind);
            f.Colour = QColor::fromRgb(AlgorithmOf(kind).Colour);
            f.Band = BestSoFarBand(runs, grid, maximize);
            if (target) f.Ecdf = TargetEcdf(runs);
            f.Box = FinalBox(runs, maximize);
            figures.push_back(f);

            QStringList beaten;
            for (std::size_t b : verdicts.BetterThan[i]) {
                beaten << QString::fromStdString(samples[b].Label);
            }
            const ExperimentRow row = SummarizeAlgorithm(runs, maximize);
            const QString cells[] = {
                f.Name,
                QString::number(row.Runs),
                target ? QString("%1 %").arg(row.ReachedShare * 100, 0, 'f', 0) : QString("-"),
                target ? Figure(row.ExpectedRunningTime) : QString("-"),
                Figure(row.Median),
                Figure(row.Mean),
                Figure(row.Deviation),
                Figure(row.MeanEvaluations),
                Figure(row.Seconds),
                verdicts.Ranks[i] ? QString::number(*verdicts.Ranks[i]) : QString("-"),
                beaten.join(", ")};
            const int r = table_->rowCount();
            table_->insertRow(r);
            for (int c = 0; c < int(std::size(cells)); ++c) {
                auto* item = new QTableWidgetItem(cells[c]);
                if (c > 0 && c + 1 < int(std::size(cells))) {
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                }
                table_->setItem(r, c, item);
            }
        }
        for (ExperimentPlot* p : plots_) p->Show(figures, double(last), target);
        return;
    }
    for (ExperimentPlot* p : plots_) p->Show(figures, 1, std::nullopt);
}

void ExperimentWindow::UpdateControls() {
    const bool running = Running();
    start_->setEnabled(!running);
    cancel_->setEnabled(running && !(control_ && control_->Cancel));
    const bool results = !running && !outcomes_.empty();
    exportRuns_->setEnabled(results);
    exportLong_->setEnabled(results);
    for (QPushButton* b : plotExports_) b->setEnabled(results);
}

void ExperimentWindow::ExportTable(bool runs) {
    if (outcomes_.empty()) return;
    const std::string path = CurrentDialogs().SaveFileName(
        ExportDialog("CSV table", "csv", runs ? "experiment-runs" : "experiment-long"));
    if (path.empty()) return;
    WriteExport(path, runs ? plan_->RunsCsv(outcomes_) : plan_->LongCsv(outcomes_));
}

void ExperimentWindow::ExportPlot(const ExperimentPlot* plot, bool svg) {
    const char* names[] = {"experiment-band", "experiment-reached", "experiment-box"};
    const int i = int(std::find(std::begin(plots_), std::end(plots_), plot) - std::begin(plots_));
    const std::string path =
        CurrentDialogs().SaveFileName(svg ? ExportDialog("SVG drawing", "svg", names[i])
                                          : ExportDialog("PNG image", "png", names[i]));
    if (path.empty()) return;
    WriteExport(path, svg ? plot->SvgBytes() : plot->PngBytes(PictureScale(path)));
}

}  // namespace quarmel
