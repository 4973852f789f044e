#include "ui/plots/RunsDock.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/text/UndefinedTexts.h"
#include "ui/plots/ConvergencePlot.h"
#include "ui/plots/PlotPanel.h"

namespace quarmel {

namespace {

const char* const kRunColumns[] = {"Algorithm", "Settings",    "Seed",   "Best value",
                                   "Solutions", "Evaluations", "Seconds"};
const int kBestColumn = 3;

}  // namespace

RunsDock::RunsDock(QWidget* parent) : QDockWidget("Convergence", parent) {
    setObjectName("DockRuns");
    setAccessibleName("Convergence");
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);

    panel_ = new PlotPanel(body);
    plot_ = &panel_->Plot();
    column->addWidget(panel_, 1);

    auto* row = new QHBoxLayout;
    ButtonClearRuns = new QPushButton("C&lear runs", body);
    ButtonClearRuns->setObjectName("ButtonClearRuns");
    CheckBoxFixedSeed = new QCheckBox("&Fixed seed:", body);
    CheckBoxFixedSeed->setObjectName("CheckBoxFixedSeed");
    EditSeed = new QLineEdit("1", body);
    EditSeed->setObjectName("EditSeed");
    EditSeed->setAccessibleName("Fixed seed");
    EditSeed->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]{1,10}"), EditSeed));
    EditSeed->setMaximumWidth(110);
    ButtonCopyRuns = new QPushButton("Cop&y runs", body);
    ButtonCopyRuns->setObjectName("ButtonCopyRuns");
    row->addWidget(ButtonClearRuns);
    row->addStretch(1);
    row->addWidget(CheckBoxFixedSeed);
    row->addWidget(EditSeed);
    row->addWidget(ButtonCopyRuns);
    column->addLayout(row);

    TableRuns = new QTableWidget(0, static_cast<int>(std::size(kRunColumns)), body);
    TableRuns->setObjectName("TableRuns");
    TableRuns->setAccessibleName("Finished runs");
    for (int c = 0; c < TableRuns->columnCount(); ++c) {
        TableRuns->setHorizontalHeaderItem(c, new QTableWidgetItem(kRunColumns[c]));
    }
    TableRuns->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableRuns->verticalHeader()->hide();
    TableRuns->horizontalHeader()->setStretchLastSection(true);
    // Six rows at least, with the header and a scroll bar, in whatever font.
    TableRuns->setMinimumHeight(TableRuns->horizontalHeader()->sizeHint().height() +
                                6 * TableRuns->verticalHeader()->defaultSectionSize() +
                                TableRuns->horizontalScrollBar()->sizeHint().height() +
                                2 * TableRuns->frameWidth());
    column->addWidget(TableRuns, 0);
    setWidget(body);

    connect(ButtonClearRuns, &QPushButton::clicked, this, &RunsDock::ClearRuns);
    connect(ButtonCopyRuns, &QPushButton::clicked, this, &RunsDock::CopyRuns);
    connect(panel_, &PlotPanel::ShowPathsToggled, this, &RunsDock::ShownPathsChanged);
    connect(plot_, &ConvergencePlot::RunsChanged, this, [this] {
        if (ShowPathsOnChart()) emit ShownPathsChanged();
    });
}

bool RunsDock::ShowPathsOnChart() const {
    return panel_->ShowPathsOnChart();
}

std::vector<KeptPath> RunsDock::ShownPaths() const {
    std::vector<KeptPath> paths;
    if (!ShowPathsOnChart()) return paths;
    for (const PlottedRun& run : plot_->Runs()) {
        const QColor c = run.Colour;
        paths.push_back({run.Path,
                         {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                          static_cast<std::uint8_t>(c.blue())},
                         run.Hidden,
                         plot_->OtherProblem(run)});
    }
    return paths;
}

bool RunsDock::FixedSeedOn() const {
    return CheckBoxFixedSeed->isChecked();
}

std::string RunsDock::FixedSeedText() const {
    return EditSeed->text().toStdString();
}

void RunsDock::BeginRun(const std::string& label, const std::string& problem, bool maximize) {
    plot_->BeginRun(label, problem, maximize);
}

void RunsDock::UpdateRun(const SolutionList& solutions,
                         const std::vector<unsigned long long>& evaluations,
                         const SolutionList& population) {
    plot_->UpdateRun(solutions, evaluations, population);
}

void RunsDock::SetCurrentRun(std::size_t number) {
    plot_->SetCurrentRun(number);
}

void RunsDock::SetKnownOptimum(std::optional<double> optimum) {
    plot_->SetKnownOptimum(optimum);
}

void RunsDock::EndRun(const RunRecord& run, const SolutionList& solutions) {
    plot_->EndRun(run.Stopped, std::make_shared<const SolutionList>(solutions));
    runs_.push_back(run);
    const int r = TableRuns->rowCount();
    TableRuns->insertRow(r);
    const std::vector<std::string> cells = RunCells(run);
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
        TableRuns->setItem(r, c, new QTableWidgetItem(QString::fromStdString(cells[c])));
    }
    // A best value of a formula undefined somewhere may be one of its zeros: the best cell says
    // how often it was, and how far the value is from a known optimum.
    std::string hint = UndefinedCountText(run.Undefined, run.Evaluations);
    if (!run.GapText.empty()) hint += (hint.empty() ? "" : "\n") + run.GapText;
    TableRuns->item(r, kBestColumn)->setToolTip(QString::fromStdString(hint));
    // Whole numbers in any font; the table scrolls sideways when they need the room.
    TableRuns->resizeColumnsToContents();
    TableRuns->scrollToBottom();
}

void RunsDock::ClearRuns() {
    plot_->Clear();
    runs_.clear();
    TableRuns->setRowCount(0);
}

void RunsDock::CopyRuns() const {
    QApplication::clipboard()->setText(QString::fromStdString(RunsCsv(runs_)));
}

}  // namespace quarmel
