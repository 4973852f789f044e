#include "ui/mainwindow/FunctionPage.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "app/datafile/DataFile.h"
#include "app/datafile/OpenedProblem.h"
#include "app/text/NumberText.h"
#include "app/text/UndefinedTexts.h"
#include "ui/mainwindow/Accessibility.h"
#include "ui/mainwindow/WindowColours.h"

namespace quarmel {
namespace {

QGroupBox* AddGroup(QWidget* page, const char* name, const QString& caption) {
    auto* group = new QGroupBox(caption, page);
    group->setObjectName(name);
    return group;
}

}  // namespace

FunctionPage::FunctionPage(QWidget* parent) : QWidget(parent) {
    setObjectName("TabSheetFunction");
    setAccessibleName("Function");

    GroupBoxFunctionName = AddGroup(this, "GroupBoxFunctionName", "Name of function");
    EditFunctionName = new QLineEdit(GroupBoxFunctionName);
    EditFunctionName->setObjectName("EditFunctionName");
    EditFunctionName->setGeometry(10, 18, 280, 22);
    NameAfter(EditFunctionName, "Name of function");

    GroupBoxOptimMax = AddGroup(this, "GroupBoxOptimMax", "Optimization");
    RadioButton_max = new QRadioButton("Maximiize", GroupBoxOptimMax);
    RadioButton_max->setObjectName("RadioButton_max");
    RadioButton_max->setGeometry(12, 20, 100, 20);
    RadioButton_min = new QRadioButton("Minimize", GroupBoxOptimMax);
    RadioButton_min->setObjectName("RadioButton_min");
    RadioButton_min->setGeometry(122, 20, 100, 20);
    RadioButton_min->setChecked(true);

    GroupBoxFunction = AddGroup(this, "GroupBoxFunction", "Function");
    EditFunction = new QLineEdit("x^2 + ( y - 2 ) ^ 2 + 3 * c ", GroupBoxFunction);
    EditFunction->setObjectName("EditFunction");
    EditFunction->setMaxLength(199);  // the formula field holds 199 characters
    SetHint(EditFunction, "Enter funtion for optimization");
    NameAfter(EditFunction, "Function");

    GroupBoxFuncValue = AddGroup(this, "GroupBoxFuncValue", "Value of function");
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

    GroupBoxVariables = AddGroup(this, "GroupBoxVariables", "Variables of function");
    StringGridVariables = new QTableWidget(20, 4, GroupBoxVariables);
    StringGridVariables->setObjectName("StringGridVariables");
    StringGridVariables->setAccessibleName("Variables of function");
    StringGridVariables->verticalHeader()->hide();
    StringGridVariables->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGridVariables->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGridVariables->setEditTriggers(QAbstractItemView::AllEditTriggers);
    StringGridVariables->setTabKeyNavigation(false);
    StringGridVariables->move(22, 22);

    const QWidget* order[] = {EditFunctionName, RadioButton_max, RadioButton_min,
                              EditFunction,     SpeedButtonCalc, StringGridVariables};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
    }
    connect(SpeedButtonCalc, &QPushButton::clicked, this, &FunctionPage::SpeedButtonCalcClick);

    // The example the program starts with.
    EditFunctionName->setText("Example 1");
    StringGridVariables->setHorizontalHeaderLabels({"Name", "Min", "Max", "Value"});
    const char* rows[3][4] = {
        {"x", "-50", "50", "0"}, {"y", "-40", "40", "6"}, {"c", "1", "15", "5"}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) SetVariableCell(c, r + 1, rows[r][c]);
    }
}

void FunctionPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    GroupBoxFunctionName->setGeometry(8, 4, 300, 48);
    GroupBoxOptimMax->setGeometry(316, 4, w - 324, 48);
    GroupBoxFunction->setGeometry(8, 56, w - 16, 50);
    EditFunction->setGeometry(10, 18, w - 36, 22);
    GroupBoxFuncValue->setGeometry(8, 110, w - 16, 90);
    LabelFuncCalc->setGeometry(124, 16, w - 160, 66);
    GroupBoxVariables->setGeometry(8, 206, w - 16, h - 210);
    // The table follows the page's own size: the window's first layout runs before the page
    // has one, and a hidden page is resized only when it is next shown.
    LayoutVariablesGrid();
}

void FunctionPage::ApplyPaletteColours(const QColor& page) {
    QPalette blue = LabelFuncCalc->palette();
    blue.setColor(QPalette::WindowText, ReadableOn(Qt::blue, page));
    LabelFuncCalc->setPalette(blue);
}

void FunctionPage::LayoutVariablesGrid() {
    const int gridWidth = width() - 60;
    const int gridHeight = height() - 250;
    StringGridVariables->resize(gridWidth, gridHeight);
    // A data row for each variable a problem can have (the header is the grid's own).
    StringGridVariables->setRowCount(kMaxVariables);
    StringGridVariables->setColumnCount(4);
    const int columnWidth = (gridWidth - 30) / 4;
    QHeaderView* header = StringGridVariables->horizontalHeader();
    header->setDefaultSectionSize(columnWidth);
    for (int c = 0; c < 4; ++c) header->resizeSection(c, columnWidth);
}

int FunctionPage::VariableRowCount() const {
    return StringGridVariables->rowCount() + 1;
}

QString FunctionPage::VariableCell(int column, int row) const {
    if (row == 0) {
        QTableWidgetItem* header = StringGridVariables->horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    QTableWidgetItem* item = StringGridVariables->item(row - 1, column);
    return item ? item->text() : QString();
}

void FunctionPage::SetVariableCell(int column, int row, const QString& text) {
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

void FunctionPage::SpeedButtonCalcClick() {
    emit CalculateRequested();
}

FunctionPageReading FunctionPage::Read(AlgParameters& problem, FunctionParser& parser,
                                       bool& resultsStale) {
    std::vector<VariableRowTexts> rows;
    for (int r = 1; r < VariableRowCount(); ++r) {
        rows.push_back({VariableCell(0, r).toStdString(), VariableCell(1, r).toStdString(),
                        VariableCell(2, r).toStdString(), VariableCell(3, r).toStdString()});
    }
    FunctionPageReading reading =
        ReadFunctionTexts(FormulaText(), Maximize(), rows, problem, parser);
    resultsStale = false;
    if (reading.Result == PageReadResult::Ok) {
        resultsStale = ResultsGoStale(lastFormula_, reading.NormalisedFormula);
        lastFormula_ = reading.NormalisedFormula;
    }
    return reading;
}

void FunctionPage::AdoptFormula() {
    lastFormula_ = NormaliseFormula(FormulaText());
}

void FunctionPage::ShowValue(double value, int evalError) {
    std::string text = FuncValueText(value);
    // An undefined value reads as a plain 0 unless the label says so, on a line of its own; its
    // hint says why.
    if (evalError != 0) text += "\n" + UndefinedValueNote(evalError);
    LabelFuncCalc->setText(QString::fromStdString(text));
    LabelFuncCalc->setToolTip(QString::fromStdString(UndefinedValueReason(evalError)));
}

void FunctionPage::ShowFile(const DataFileReading& file) {
    if (file.FunctionName) EditFunctionName->setText(QString::fromStdString(*file.FunctionName));
    if (file.Formula) EditFunction->setText(QString::fromStdString(*file.Formula));
    if (file.Maximize) {
        if (*file.Maximize) {
            RadioButton_max->setChecked(true);
        } else {
            RadioButton_min->setChecked(true);
        }
    }
    int row = 1;
    for (const VariableRowTexts& texts : OpenedTableRows(file)) {
        SetVariableCell(0, row, QString::fromStdString(texts.Name));
        SetVariableCell(1, row, QString::fromStdString(texts.Min));
        SetVariableCell(2, row, QString::fromStdString(texts.Max));
        SetVariableCell(3, row, QString::fromStdString(texts.Value));
        ++row;
    }
}

void FunctionPage::ClearFunctionInput() {
    EditFunction->clear();
    // Every data row but the last one is emptied; the last keeps what it holds.
    for (int row = 1; row <= VariableRowCount() - 2; ++row) {
        for (int column = 0; column < 4; ++column) SetVariableCell(column, row, QString());
    }
}

void FunctionPage::SetRunning(bool running) {
    StringGridVariables->setEnabled(!running);
    EditFunction->setReadOnly(running);
}

QStringList FunctionPage::Texts() const {
    QStringList texts{EditFunctionName->text(), EditFunction->text(), Maximize() ? "max" : "min"};
    // The rows a problem can have, whatever the table holds before its first layout.
    for (int r = 1; r <= kMaxVariables; ++r) {
        for (int c = 0; c < 4; ++c) texts << VariableCell(c, r);
    }
    return texts;
}

std::string FunctionPage::ProblemName() const {
    return EditFunctionName->text().toStdString();
}

std::string FunctionPage::FormulaText() const {
    return EditFunction->text().toStdString();
}

bool FunctionPage::Maximize() const {
    return RadioButton_max->isChecked();
}

}  // namespace quarmel
