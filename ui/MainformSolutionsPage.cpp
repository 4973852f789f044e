// The Solutions page: the run's solutions, newest first, with its first and best values.
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>

#include "ui/Mainform.h"
#include "ui/SolutionsTableModel.h"

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

}  // namespace

void TFormMain::BuildSolutionsPage() {
    TabSheetSolutions = new QWidget;
    TabSheetSolutions->setObjectName("TabSheetSolutions");
    TabSheetSolutions->setAccessibleName("Solutions");
    PageControlMain->addTab(TabSheetSolutions, "Solutions");

    GroupBoxBeforeOpt = new QGroupBox("Initial solution", TabSheetSolutions);
    GroupBoxBeforeOpt->setObjectName("GroupBoxBeforeOpt");
    LabelBeforeOpt = AddValueLabel(GroupBoxBeforeOpt, "LabelBeforeOpt", "Initial solution");
    GroupBoxAfterOpt = new QGroupBox("Optimal solution", TabSheetSolutions);
    GroupBoxAfterOpt->setObjectName("GroupBoxAfterOpt");
    LabelAfterOpt = AddValueLabel(GroupBoxAfterOpt, "LabelAfterOpt", "Optimal solution");

    StringGridSolutions = new QTableView(TabSheetSolutions);
    StringGridSolutions->setObjectName("StringGridSolutions");
    SolutionsModel = new SolutionsTableModel(StringGridSolutions);
    StringGridSolutions->setModel(SolutionsModel);
    StringGridSolutions->setAccessibleName("Solutions");
    StringGridSolutions->verticalHeader()->hide();
    StringGridSolutions->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGridSolutions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGridSolutions->setTabKeyNavigation(false);
    StringGridSolutions->move(20, 80);

    TabSheetSolutions->installEventFilter(this);
}

void TFormMain::AnchorSolutionsPage() {
    const int half = (TabSheetSolutions->width() - 48) / 2;
    GroupBoxBeforeOpt->setGeometry(20, 6, half, 66);
    GroupBoxAfterOpt->setGeometry(28 + half, 6, half, 66);
    LabelBeforeOpt->setGeometry(8, 16, half - 16, 44);
    LabelAfterOpt->setGeometry(8, 16, half - 16, 44);
}

void TFormMain::LayoutSolutionsGrid() {
    const int pageWidth = TabSheetSolutions->width();
    StringGridSolutions->resize(pageWidth - 40, TabSheetSolutions->height() - 90);
    // A column each for the number, the variables and f; the rows come with the solutions.
    const int columns = Parameters.VariableCount() + 2;
    const int columnWidth = (pageWidth - 75) / columns;
    QHeaderView* header = StringGridSolutions->horizontalHeader();
    header->setDefaultSectionSize(columnWidth);
    for (int c = 0; c < std::min(columns, header->count()); ++c) {
        header->resizeSection(c, columnWidth);
    }
}

}  // namespace quarmel
