#include "ui/mainwindow/PickedStart.h"

#include <QShortcut>

#include "app/text/NumberText.h"
#include "ui/chart/ChartPage.h"
#include "ui/mainwindow/FunctionPage.h"
#include "ui/mainwindow/Mainform.h"

namespace quarmel {
namespace {

// The variables table's column of the default values.
constexpr int kDefaultColumn = 3;

}  // namespace

PickedStart::PickedStart(TFormMain* form, FunctionPage* function, ChartPage* chart)
    : QObject(form), form_(form), function_(function), chart_(chart) {
    connect(chart_, &ChartPage::StartPicked, this, &PickedStart::Pick);
    // A text field takes Undo for its own text before a window shortcut sees it.
    auto* undo = new QShortcut(QKeySequence::Undo, form);
    undo->setObjectName("ShortcutUndoPickedStart");
    connect(undo, &QShortcut::activated, this, &PickedStart::Undo);
}

int PickedStart::RowOf(const QString& name) const {
    for (int row = 1; row < function_->VariableRowCount(); ++row) {
        if (function_->VariableCell(0, row).trimmed() == name) return row;
    }
    return -1;
}

void PickedStart::Pick(const QString& xName, double x, const QString& yName, double y) {
    if (form_->RunWorker()) {
        chart_->MarkPickedStart(std::nullopt);
        return;
    }
    std::vector<Cell> before;
    for (const auto& [name, value] : {std::pair{xName, x}, std::pair{yName, y}}) {
        const int row = RowOf(name);
        if (row < 0) continue;
        // Six digits: finer than the sampled surface the point was found on.
        const QString text = QString::fromStdString(GeneralText(value, 6));
        before.push_back({row, function_->VariableCell(kDefaultColumn, row), text});
        function_->SetVariableCell(kDefaultColumn, row, text);
    }
    if (!before.empty()) undo_.push_back(std::move(before));
}

void PickedStart::Undo() {
    if (undo_.empty() || form_->RunWorker()) return;
    for (const Cell& cell : undo_.back()) {
        if (cell.Row < function_->VariableRowCount() &&
            function_->VariableCell(kDefaultColumn, cell.Row) == cell.Written) {
            function_->SetVariableCell(kDefaultColumn, cell.Row, cell.Text);
        }
    }
    undo_.pop_back();
    chart_->MarkPickedStart(std::nullopt);
}

}  // namespace quarmel
