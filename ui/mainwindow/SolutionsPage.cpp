#include "ui/mainwindow/SolutionsPage.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>

#include <algorithm>
#include <utility>

#include "app/examples/OptimumGap.h"
#include "app/runs/ReplayState.h"
#include "ui/mainwindow/SolutionsTableModel.h"
#include "ui/mainwindow/SolutionsTableView.h"
#include "ui/mainwindow/WindowColours.h"

namespace quarmel {
namespace {

QLabel* AddValueLabel(QGroupBox* group, const char* name, const QString& meaning) {
    auto* label = new QLabel("-", group);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont font("Trebuchet MS");
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(19);
    label->setFont(font);
    QPalette blue = label->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(blue);
    // Spoken as its value; the description says which value it is.
    label->setAccessibleDescription(meaning);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString ResultLabelText(const std::string& text) {
    return text.empty() ? QString("-") : QString::fromStdString(text);
}

}  // namespace

SolutionsPage::SolutionsPage(QWidget* parent, const AlgParameters& problem,
                             const SolutionList& solutions)
    : QWidget(parent), problem_(problem), solutions_(solutions) {
    setObjectName("TabSheetSolutions");
    setAccessibleName("Solutions");

    GroupBoxBeforeOpt = new QGroupBox("Initial solution", this);
    GroupBoxBeforeOpt->setObjectName("GroupBoxBeforeOpt");
    LabelBeforeOpt = AddValueLabel(GroupBoxBeforeOpt, "LabelBeforeOpt", "Initial solution");
    GroupBoxAfterOpt = new QGroupBox("Optimal solution", this);
    GroupBoxAfterOpt->setObjectName("GroupBoxAfterOpt");
    LabelAfterOpt = AddValueLabel(GroupBoxAfterOpt, "LabelAfterOpt", "Optimal solution");

    StringGridSolutions = new SolutionsTableView(this);
    StringGridSolutions->setObjectName("StringGridSolutions");
    SolutionsModel = new SolutionsTableModel(StringGridSolutions);
    StringGridSolutions->setModel(SolutionsModel);
    StringGridSolutions->setAccessibleName("Solutions");
    StringGridSolutions->verticalHeader()->hide();
    StringGridSolutions->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGridSolutions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGridSolutions->setTabKeyNavigation(false);
    StringGridSolutions->move(20, 80);
}

void SolutionsPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int half = (width() - 48) / 2;
    GroupBoxBeforeOpt->setGeometry(20, 6, half, 66);
    GroupBoxAfterOpt->setGeometry(28 + half, 6, half, 66);
    LabelBeforeOpt->setGeometry(8, 16, half - 16, 44);
    LabelAfterOpt->setGeometry(8, 16, half - 16, 44);
}

void SolutionsPage::ApplyPaletteColours(const QColor& page) {
    for (QLabel* label : {LabelBeforeOpt, LabelAfterOpt}) {
        QPalette blue = label->palette();
        blue.setColor(QPalette::WindowText, ReadableOn(Qt::blue, page));
        label->setPalette(blue);
    }
}

void SolutionsPage::LayoutSolutionsGrid() {
    const int pageWidth = width();
    StringGridSolutions->resize(pageWidth - 40, height() - 90);
    // A column each for the number, the variables and f; the rows come with the solutions.
    const int columns = problem_.VariableCount() + 2;
    const int columnWidth = (pageWidth - 75) / columns;
    QHeaderView* header = StringGridSolutions->horizontalHeader();
    header->setDefaultSectionSize(columnWidth);
    for (int c = 0; c < std::min(columns, header->count()); ++c) {
        header->resizeSection(c, columnWidth);
    }
}

void SolutionsPage::NoteChange(ListChange change) {
    solutionsChange_ = CombineChanges(solutionsChange_, change);
}

void SolutionsPage::FillSolutionsGrid() {
    std::vector<std::string> names;
    for (const VariableSpec& v : problem_.Variables()) names.push_back(v.Name);
    const ListChange change = std::exchange(solutionsChange_, ListChange::None);
    const int rowsBefore = SolutionsModel->rowCount();
    const bool reset = SolutionsModel->Show(names, &solutions_, change);
    if (reset) {
        LayoutSolutionsGrid();
    } else {
        // A table scrolled away from its top keeps showing the same solutions; at the top it
        // stays there, where the new solutions come in.
        StringGridSolutions->ShowRowsInsertedAtTop(SolutionsModel->rowCount() - rowsBefore);
    }
    if (!reset && change == ListChange::None && labelsMaximize_ == problem_.Maximize()) return;
    labelsMaximize_ = problem_.Maximize();
    labels_.Note(change);
    labels_.Update(solutions_, problem_.Maximize());
    LabelBeforeOpt->setText(ResultLabelText(labels_.InitialText()));
    LabelAfterOpt->setText(ResultLabelText(labels_.OptimalText()));
    ShowOptimumGaps();
}

void SolutionsPage::SetKnownOptimum(const std::optional<ExampleProblem>& known) {
    const bool had = known_.has_value();
    known_ = known;
    if (had || known_) ShowOptimumGaps();
}

void SolutionsPage::ShowOptimumGaps() {
    const auto gap = [this](const std::string& text, float value) {
        if (!known_ || text.empty()) return QString();
        return QString::fromStdString(OptimumGapText(value, *known_, labelsMaximize_));
    };
    LabelBeforeOpt->setToolTip(gap(labels_.InitialText(), labels_.InitialValue()));
    LabelAfterOpt->setToolTip(gap(labels_.OptimalText(), labels_.OptimalValue()));
}

void SolutionsPage::SelectSolution(std::optional<std::size_t> index) {
    if (!index || *index >= solutions_.Count()) {
        StringGridSolutions->clearSelection();
        return;
    }
    FillSolutionsGrid();
    const int row = static_cast<int>(NewestFirstRow(*index, solutions_.Count()));
    StringGridSolutions->selectRow(row);
    StringGridSolutions->scrollTo(SolutionsModel->index(row, 0));
}

}  // namespace quarmel
