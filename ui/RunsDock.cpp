#include "ui/RunsDock.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/UndefinedTexts.h"
#include "ui/ConvergencePlot.h"

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

    plot_ = new ConvergencePlot(body);
    column->addWidget(plot_, 3);

    auto* row = new QHBoxLayout;
    CheckBoxLogScale = new QCheckBox("&Log scale", body);
    CheckBoxLogScale->setObjectName("CheckBoxLogScale");
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
    row->addWidget(CheckBoxLogScale);
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
    column->addWidget(TableRuns, 1);
    setWidget(body);

    connect(CheckBoxLogScale, &QCheckBox::toggled, plot_, &ConvergencePlot::SetLogScale);
    connect(ButtonClearRuns, &QPushButton::clicked, this, &RunsDock::ClearRuns);
    connect(ButtonCopyRuns, &QPushButton::clicked, this, &RunsDock::CopyRuns);
}

bool RunsDock::FixedSeedOn() const {
    return CheckBoxFixedSeed->isChecked();
}

std::string RunsDock::FixedSeedText() const {
    return EditSeed->text().toStdString();
}

void RunsDock::BeginRun(const std::string& label, bool maximize) {
    plot_->BeginRun(label, maximize);
}

void RunsDock::UpdateRun(const SolutionList& solutions, const SolutionList& population) {
    plot_->UpdateRun(solutions, population);
}

void RunsDock::EndRun(const RunRecord& run) {
    plot_->EndRun();
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
