// The Function page: the problem's name, formula, direction and variables, and Calculate.
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include <stdexcept>

#include "app/FunctionPage.h"
#include "app/NumberText.h"
#include "ui/Accessibility.h"
#include "ui/Mainform.h"

namespace quarmel {
namespace {

// A failure of a command whose message is already the one to show.
class CommandError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

QGroupBox* AddGroup(QWidget* page, const char* name, const QString& caption) {
    auto* group = new QGroupBox(caption, page);
    group->setObjectName(name);
    return group;
}

}  // namespace

void TFormMain::BuildFunctionPage() {
    TabSheetFunction = new QWidget;
    TabSheetFunction->setObjectName("TabSheetFunction");
    TabSheetFunction->setAccessibleName("Function");
    PageControlMain->addTab(TabSheetFunction, "Function");
    QWidget* page = TabSheetFunction;

    GroupBoxFunctionName = AddGroup(page, "GroupBoxFunctionName", "Name of function");
    EditFunctionName = new QLineEdit(GroupBoxFunctionName);
    EditFunctionName->setObjectName("EditFunctionName");
    EditFunctionName->setGeometry(10, 18, 280, 22);
    NameAfter(EditFunctionName, "Name of function");

    GroupBoxOptimMax = AddGroup(page, "GroupBoxOptimMax", "Optimization");
    RadioButton_max = new QRadioButton("Maximiize", GroupBoxOptimMax);
    RadioButton_max->setObjectName("RadioButton_max");
    RadioButton_max->setGeometry(12, 20, 100, 20);
    RadioButton_min = new QRadioButton("Minimize", GroupBoxOptimMax);
    RadioButton_min->setObjectName("RadioButton_min");
    RadioButton_min->setGeometry(122, 20, 100, 20);
    RadioButton_min->setChecked(true);

    GroupBoxFunction = AddGroup(page, "GroupBoxFunction", "Function");
    EditFunction = new QLineEdit("x^2 + ( y - 2 ) ^ 2 + 3 * c ", GroupBoxFunction);
    EditFunction->setObjectName("EditFunction");
    EditFunction->setMaxLength(199);  // the formula field holds 199 characters
    SetHint(EditFunction, "Enter funtion for optimization");
    NameAfter(EditFunction, "Function");

    GroupBoxFuncValue = AddGroup(page, "GroupBoxFuncValue", "Value of function");
    SpeedButtonCalc = new QPushButton("Calculate", GroupBoxFuncValue);
    SpeedButtonCalc->setObjectName("SpeedButtonCalc");
    SpeedButtonCalc->setGeometry(12, 28, 100, 30);
    SetHint(SpeedButtonCalc, "Calculate function using data from table below");
    LabelFuncCalc = new QLabel("-", GroupBoxFuncValue);
    LabelFuncCalc->setObjectName("LabelFuncCalc");
    LabelFuncCalc->setAlignment(Qt::AlignCenter);
    QFont valueFont("Trebuchet MS");
    valueFont.setStyleHint(QFont::SansSerif);
    valueFont.setBold(true);
    valueFont.setPixelSize(19);
    LabelFuncCalc->setFont(valueFont);
    QPalette blue = LabelFuncCalc->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    LabelFuncCalc->setPalette(blue);
    // The label's spoken name is its text, the value; the description says what it is.
    LabelFuncCalc->setAccessibleDescription("Value of function");
    LabelFuncCalc->setTextInteractionFlags(Qt::TextSelectableByMouse);

    GroupBoxVariables = AddGroup(page, "GroupBoxVariables", "Variables of function");
    StringGridVariables = new QTableWidget(20, 4, GroupBoxVariables);
    StringGridVariables->setObjectName("StringGridVariables");
    StringGridVariables->setAccessibleName("Variables of function");
    StringGridVariables->verticalHeader()->hide();
    StringGridVariables->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGridVariables->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGridVariables->setEditTriggers(QAbstractItemView::AllEditTriggers);
    StringGridVariables->setTabKeyNavigation(false);
    StringGridVariables->move(22, 22);

    TabSheetFunction->installEventFilter(this);
}

void TFormMain::ConnectFunctionPage() {
    connect(SpeedButtonCalc, &QPushButton::clicked, this,
            [this] { RunCommand(&TFormMain::SpeedButtonCalcClick); });
}

void TFormMain::AnchorFunctionPage() {
    const int w = TabSheetFunction->width();
    const int h = TabSheetFunction->height();
    GroupBoxFunctionName->setGeometry(8, 4, 300, 48);
    GroupBoxOptimMax->setGeometry(316, 4, w - 324, 48);
    GroupBoxFunction->setGeometry(8, 56, w - 16, 50);
    EditFunction->setGeometry(10, 18, w - 36, 22);
    GroupBoxFuncValue->setGeometry(8, 110, w - 16, 90);
    LabelFuncCalc->setGeometry(124, 16, w - 160, 66);
    GroupBoxVariables->setGeometry(8, 206, w - 16, h - 210);
}

void TFormMain::LayoutVariablesGrid() {
    const int width = TabSheetFunction->width() - 60;
    const int height = TabSheetFunction->height() - 250;
    StringGridVariables->resize(width, height);
    // A data row for each variable a problem can have (the header is the grid's own).
    StringGridVariables->setRowCount(kMaxVariables);
    StringGridVariables->setColumnCount(4);
    const int columnWidth = (width - 30) / 4;
    QHeaderView* header = StringGridVariables->horizontalHeader();
    header->setDefaultSectionSize(columnWidth);
    for (int c = 0; c < 4; ++c) header->resizeSection(c, columnWidth);
}

int TFormMain::VariableRowCount() const {
    return StringGridVariables->rowCount() + 1;
}

QString TFormMain::VariableCell(int column, int row) const {
    if (row == 0) {
        QTableWidgetItem* header = StringGridVariables->horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    QTableWidgetItem* item = StringGridVariables->item(row - 1, column);
    return item ? item->text() : QString();
}

void TFormMain::SetVariableCell(int column, int row, const QString& text) {
    if (row == 0) {
        StringGridVariables->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
        return;
    }
    if (QTableWidgetItem* item = StringGridVariables->item(row - 1, column)) {
        item->setText(text);
    } else {
        StringGridVariables->setItem(row - 1, column, new QTableWidgetItem(text));
    }
}

void TFormMain::SpeedButtonCalcClick() {
    ReadFunctionPage(true);
}

int TFormMain::ReadFunctionPage(bool evaluate) {
    // The axis lists are rebuilt from the variables read; Y keeps its choice when it can.
    const int rememberedY = ComboBoxAxeY->currentIndex();
    ComboBoxAxeX->clear();
    ComboBoxAxeY->clear();

    std::vector<VariableRowTexts> rows;
    for (int r = 1; r < VariableRowCount(); ++r) {
        rows.push_back({VariableCell(0, r).toStdString(), VariableCell(1, r).toStdString(),
                        VariableCell(2, r).toStdString(), VariableCell(3, r).toStdString()});
    }
    const std::string typed = EditFunction->text().toStdString();
    FunctionPageReading reading =
        ReadFunctionTexts(typed, RadioButton_max->isChecked(), rows, Parameters, FormParser);
    UsesSpiral = reading.UsesSpiral;

    if (reading.VariablesRead) {
        ComboBoxAxeY->addItem("-");
        const int count = Parameters.VariableCount();
        for (int i = 0; i < count; ++i) {
            const QString name = QString::fromStdString(Parameters.VariableName(i));
            ComboBoxAxeX->addItem(name);
            if (count != 1) ComboBoxAxeY->addItem(name);
        }
        // Nothing is chosen after a refill (a combo box would pick its first item by itself).
        ComboBoxAxeX->setCurrentIndex(-1);
        ComboBoxAxeY->setCurrentIndex(-1);
        if (rememberedY != -1 && rememberedY < ComboBoxAxeY->count()) {
            ComboBoxAxeY->setCurrentIndex(rememberedY);
        }
    }
    for (const std::string& notice : reading.Notices) CurrentDialogs().Message(notice);
    if (reading.Result == PageReadResult::Stopped) throw CommandError(reading.Error);
    if (reading.Result == PageReadResult::CompileError) return -1;

    // Results belong to a formula: a different one makes them stale.
    if (reading.NormalisedFormula != LastFormula) {
        RunSolutions.Clear();
        RunPopulation.Clear();
        ShowReplacedRunSolutions();
    }
    LastFormula = reading.NormalisedFormula;
    ReadOptionPages();
    if (evaluate) {
        const double f = EvaluateAtDefaults(FormParser, Parameters);
        LabelFuncCalc->setText(QString::fromStdString(FuncValueText(f)));
    } else {
        SetUpAxes();
    }
    return 0;
}

}  // namespace quarmel
