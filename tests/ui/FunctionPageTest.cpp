// Reading the Function page through the window: messages, what changes, the used-row rule.
#include <fparser.hh>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>

#include "WindowFixture.h"

namespace quarmel::test {
namespace {

class FunctionPage : public WindowTest {
  protected:
    void Calculate() { QTest::mouseClick(Ctl<QPushButton>("SpeedButtonCalc"), Qt::LeftButton); }

    // What the parser says about a formula, asked independently of the window.
    static std::pair<int, std::string> ParserVerdict(const std::string& formula,
                                                     const std::string& names) {
        FunctionParser parser;
        const int position = parser.Parse(formula, names, false);
        return {position, parser.ErrorMsg()};
    }
};

TEST_F(FunctionPage, DecimalCommasAndSemicolonsAreTheUsersSeparators) {
    // max(0; 6) + 1.5 * 5
    Ctl<QLineEdit>("EditFunction")->setText("max(x;y) + 1,5*c");
    Calculate();
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "13.5");
    EXPECT_EQ(form->Parameters.FunctionText(), "max(x,y) + 1.5*c");
    EXPECT_EQ(Function()->LastFormula(), "max(x,y) + 1.5*c");
    EXPECT_EQ(form->Parameters.VarNames(), "x,y,c");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FunctionPage, CellsTakeEitherDecimalSeparator) {
    SetRow(1, "x", "-1", "1", "0.5");
    SetRow(2, "y", "-1", "1", "0,25");
    ClearRow(3);
    Ctl<QLineEdit>("EditFunction")->setText("x + y");
    Calculate();
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "0.75");
    EXPECT_FLOAT_EQ(form->Parameters.VariableDefault(0), 0.5f);
    EXPECT_FLOAT_EQ(form->Parameters.VariableDefault(1), 0.25f);
}

TEST_F(FunctionPage, LargeValuesUseExponentNotation) {
    Ctl<QLineEdit>("EditFunction")->setText("1500 + 0*x*y*c");
    Calculate();
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "1.5e+03");
}

TEST_F(FunctionPage, AnUndefinedValueIsSaidBesideCalculatesValueAndOnARunsBestValue) {
    const std::pair<const char*, const char*> cases[] = {
        {"x/0 + y*c", "division by zero"},
        {"log(-1 - x^2) + y*c", "logarithm of a number not above 0"},
        {"x^2 + y*c", nullptr},
    };
    auto* label = Ctl<QLabel>("LabelFuncCalc");
    for (const auto& [formula, reason] : cases) {
        Ctl<QLineEdit>("EditFunction")->setText(formula);
        Calculate();
        // A defined value's text is as before; an undefined one's note has its own line.
        EXPECT_EQ(label->text().section('\n', 1), reason ? "undefined, counted as 0" : "");
        EXPECT_EQ(label->toolTip(), reason ? QString("undefined here: ") + reason : "");
    }
    // sqrt(x) is undefined over the whole range of x; x^2 is defined.
    SetRow(1, "x", "-50", "-1", "-5");
    Ctl<QSlider>("TrackBarLocalSleep")->setValue(0);
    for (const char* formula : {"sqrt(x) + y*c", "x^2 + y*c"}) {
        Ctl<QLineEdit>("EditFunction")->setText(formula);
        QTest::mouseClick(Ctl<QToolButton>("SpeedButtonSteepest"), Qt::LeftButton);
        WAIT_FOR_MS(!form->RunWorker(), 20000);
    }
    auto* runs = Ctl<QTableWidget>("TableRuns");
    EXPECT_TRUE(runs->item(0, 3)->toolTip().endsWith(" evaluations undefined, counted as 0"));
    EXPECT_EQ(runs->item(1, 3)->toolTip(), "");
}

TEST_F(FunctionPage, MaximiseChoiceReachesTheProblem) {
    Ctl<QRadioButton>("RadioButton_max")->setChecked(true);
    Calculate();
    EXPECT_TRUE(form->Parameters.Maximize());
    Ctl<QRadioButton>("RadioButton_min")->setChecked(true);
    Calculate();
    EXPECT_FALSE(form->Parameters.Maximize());
}

TEST_F(FunctionPage, CompileErrorNamesTheColumnAndTheParsersMessage) {
    Ctl<QLineEdit>("EditFunction")->setText("x + q * y + c");
    Ctl<QLabel>("LabelFuncCalc")->setText("7");
    Calculate();
    const auto [position, message] = ParserVerdict("x + q * y + c", "x,y,c");
    EXPECT_EQ(position, 4);  // the unknown name q
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0], "Bląd w funkcji. Kolumna: 4 : " + message);
    EXPECT_TRUE(dialogs.Errors().empty());
    // The variables and axis lists are rebuilt; the value shown and the formula stay.
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "7");
    EXPECT_EQ(form->Parameters.VariableCount(), 3);
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeX")->count(), 3);
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeY")->count(), 4);
    EXPECT_EQ(Function()->LastFormula(), "");
}

TEST_F(FunctionPage, ReadFunctionPageReportsACompileErrorAsMinusOne) {
    Ctl<QLineEdit>("EditFunction")->setText("(x");
    EXPECT_EQ(form->ReadFunctionPage(true), -1);
    Ctl<QLineEdit>("EditFunction")->setText("x");
    EXPECT_EQ(form->ReadFunctionPage(true), 0);
}

TEST_F(FunctionPage, IncompleteUsedRowIsReportedAndLeftOut) {
    Function()->SetVariableCell(2, 2, "");  // y without a maximum
    Calculate();
    const auto [position, message] = ParserVerdict("x^2 + ( y - 2 ) ^ 2 + 3 * c ", "x,c");
    ASSERT_GE(position, 0);
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(dialogs.Messages()[0], "Niekompletne dane wejsciowe !");
    EXPECT_EQ(dialogs.Messages()[1],
              "Bląd w funkcji. Kolumna: " + std::to_string(position) + " : " + message);
    EXPECT_EQ(form->Parameters.VarNames(), "x,c");
}

TEST_F(FunctionPage, UnusedRowsAreIgnoredEvenWhenIncomplete) {
    SetRow(4, "z", "", "", "");
    SetRow(5, "w", "abc", "1", "");
    Calculate();
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "31");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form->Parameters.VariableCount(), 3);
}

TEST_F(FunctionPage, NonNumericCellStopsTheReadingKeepingWhatItChanged) {
    SolutionList solutions;
    solutions.Append(Solution{{1, 2, 3}, 4});
    OpenWithSolutions(solutions);
    const std::string formulaBefore = Function()->LastFormula();
    Function()->SetVariableCell(1, 3, "abc");  // c's minimum
    Ctl<QLineEdit>("EditFunction")->setText("spiral(x;y) + c");
    Ctl<QLabel>("LabelFuncCalc")->setText("7");
    Calculate();
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_EQ(dialogs.Errors()[0], "'abc' is not a valid floating point value.");
    EXPECT_TRUE(dialogs.Messages().empty());
    // Rows before c were read, the axis lists were emptied and not refilled, the spiral flag is
    // set; nothing after the failing cell happened.
    EXPECT_EQ(form->Parameters.VarNames(), "x,y");
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeX")->count(), 0);
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeY")->count(), 0);
    EXPECT_TRUE(Chart()->SpiralMode());
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "7");
    EXPECT_EQ(form->Solutions().Count(), 1u);
    EXPECT_EQ(Function()->LastFormula(), formulaBefore);
}

TEST_F(FunctionPage, OverlongNameIsRefusedNamingTheRow) {
    const QString name(20, 'v');
    SetRow(2, name, "0", "1", "0");
    Ctl<QLineEdit>("EditFunction")->setText("x + " + name);
    Calculate();
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_NE(dialogs.Errors()[0].find("Row 2"), std::string::npos) << dialogs.Errors()[0];
    EXPECT_EQ(form->Parameters.VarNames(), "x");
}

TEST_F(FunctionPage, FormulaFieldTakes199Characters) {
    EXPECT_EQ(Ctl<QLineEdit>("EditFunction")->maxLength(), 199);
    Ctl<QLineEdit>("EditFunction")->setText(QString(250, '1'));
    EXPECT_EQ(Ctl<QLineEdit>("EditFunction")->text().size(), 199);
}

TEST_F(FunctionPage, UsedVariableRuleDecidesTheProblemsVariables) {
    // x first occurs inside exp, then stands alone: it is a variable.
    Ctl<QLineEdit>("EditFunction")->setText("exp(x)+1");
    Calculate();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form->Parameters.VarNames(), "x");

    // x and xy are both whole words.
    SetRow(1, "x", "0", "1", "2");
    SetRow(2, "xy", "0", "1", "3");
    ClearRow(3);
    Ctl<QLineEdit>("EditFunction")->setText("x + xy");
    Calculate();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form->Parameters.VarNames(), "x,xy");
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), " 5");
}

TEST_F(FunctionPage, SpiralIsRecognisedOnlyAsAWholeWord) {
    Ctl<QLineEdit>("EditFunction")->setText("spiral(x;y)+c");
    Calculate();
    EXPECT_TRUE(Chart()->SpiralMode());
    Ctl<QLineEdit>("EditFunction")->setText("x+y+c");
    Calculate();
    EXPECT_FALSE(Chart()->SpiralMode());
}

TEST_F(FunctionPage, ResultsSurviveAReadingWithTheSameFormulaOnly) {
    RunGeneticToTheEnd();
    const std::size_t solutions = form->Solutions().Count();
    const std::size_t population = form->Population().Count();
    // A bound, a default and the direction change: the results still belong to the formula.
    Function()->SetVariableCell(2, 1, "60");
    Function()->SetVariableCell(3, 2, "3");
    Ctl<QRadioButton>("RadioButton_max")->setChecked(true);
    Calculate();
    EXPECT_EQ(form->Solutions().Count(), solutions);
    EXPECT_EQ(form->Population().Count(), population);
    // Only blanks differ in what is typed, but the formula text differs: the results go.
    Ctl<QLineEdit>("EditFunction")->setText("x^2 + (y - 2)^2 + 3*c");
    Calculate();
    EXPECT_TRUE(form->Solutions().Empty());
    EXPECT_TRUE(form->Population().Empty());
}

}  // namespace
}  // namespace quarmel::test
