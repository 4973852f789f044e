#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <fparser.hh>

#include <string>

#include "app/text/FunctionPageTexts.h"
#include "model/Algparameters.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace quarmel {

struct DataFileReading;

// The Function page: the problem's name, formula, direction and variables, and Calculate. It
// reads itself into a Problem and shows a problem read from a file; it remembers the formula
// the results shown belong to.
class FunctionPage : public QWidget {
    Q_OBJECT

  public:
    explicit FunctionPage(QWidget* parent);

    // Reads the page into `problem` and compiles its formula with `parser` (ReadFunctionTexts).
    // `resultsStale` tells whether a formula was read that the results shown do not belong to;
    // the page then takes it as the results' formula.
    FunctionPageReading Read(AlgParameters& problem, FunctionParser& parser, bool& resultsStale);
    // The results shown belong to the formula the page shows now (they were read with it).
    void AdoptFormula();
    const std::string& LastFormula() const { return lastFormula_; }

    // Shows the function's value at the variables' defaults in the Calculate group, with a note
    // when the parser flagged its evaluation as undefined (evalError, its EvalError, not 0).
    void ShowValue(double value, int evalError = 0);
    // Puts a data file's name, formula, direction and variables in the page.
    void ShowFile(const DataFileReading& file);
    // Empties the formula and every data row of the table but the last one.
    void ClearFunctionInput();
    // During a run the formula is read-only and the table disabled.
    void SetRunning(bool running);

    // Everything the user can type on the page, to tell whether it was changed since.
    QStringList Texts() const;

    std::string ProblemName() const;
    std::string FormulaText() const;
    bool Maximize() const;

    // The variables table as the page knows it: row 0 is the header, rows 1.. the variables.
    int VariableRowCount() const;
    QString VariableCell(int column, int row) const;
    void SetVariableCell(int column, int row, const QString& text);
    void LayoutVariablesGrid();
    void ApplyPaletteColours(const QColor& page);

  signals:
    void CalculateRequested();

  protected:
    // The groups follow the page's size, like anchored controls.
    void resizeEvent(QResizeEvent* event) override;

  private:
    void SpeedButtonCalcClick();

    std::string lastFormula_;

    QGroupBox* GroupBoxFunctionName = nullptr;
    QLineEdit* EditFunctionName = nullptr;
    QGroupBox* GroupBoxFunction = nullptr;
    QLineEdit* EditFunction = nullptr;
    QGroupBox* GroupBoxOptimMax = nullptr;
    QRadioButton* RadioButton_max = nullptr;
    QRadioButton* RadioButton_min = nullptr;
    QGroupBox* GroupBoxFuncValue = nullptr;
    QPushButton* SpeedButtonCalc = nullptr;
    QLabel* LabelFuncCalc = nullptr;
    QGroupBox* GroupBoxVariables = nullptr;
    QTableWidget* StringGridVariables = nullptr;
};

}  // namespace quarmel
