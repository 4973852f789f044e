#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/text/FunctionPageTexts.h"
#include "app/text/NumberText.h"

using namespace quarmel;

namespace {

const std::string kStartFormula = "x^2 + ( y - 2 ) ^ 2 + 3 * c ";

std::vector<VariableRowTexts> StartRows() {
    return {{"x", "-50", "50", "0"}, {"y", "-40", "40", "6"}, {"c", "1", "15", "5"}};
}

// The page as the window holds it: a parser of its own with "spiral", and a Problem.
struct Page {
    Page() { AddSpiral(parser); }
    FunctionPageReading Read(const std::string& formula, const std::vector<VariableRowTexts>& rows,
                             bool maximize = false) {
        return ReadFunctionTexts(formula, maximize, rows, problem, parser);
    }
    FunctionParser parser;
    Problem problem;
};

std::vector<std::string> Names(const Problem& p) {
    std::vector<std::string> names;
    for (const VariableSpec& v : p.Variables()) names.push_back(v.Name);
    return names;
}

}  // namespace

TEST(NormaliseTexts, FormulaCommaBecomesPointAndSemicolonBecomesComma) {
    EXPECT_EQ(NormaliseFormula("atan2(x;y)"), "atan2(x,y)");
    EXPECT_EQ(NormaliseFormula("1,5*x"), "1.5*x");
    // Each character is looked at once: the "," made from ";" stays.
    EXPECT_EQ(NormaliseFormula("min(1,5;2);,"), "min(1.5,2),.");
    EXPECT_EQ(NormaliseFormula(kStartFormula), kStartFormula);
    EXPECT_EQ(NormaliseNumber("0.5"), "0,5");
    EXPECT_EQ(NormaliseNumber("1.2.3"), "1,2,3");
}

TEST(UsedVariableRule, AnyOccurrenceFollowedByADelimiterOrTheEndCounts) {
    // {formula, name, used}
    const struct {
        const char* formula;
        const char* name;
        bool used;
    } cases[] = {
        {"x^2 + ( y - 2 ) ^ 2 + 3 * c ", "c", true},
        {"x^2 + ( y - 2 ) ^ 2 + 3 * c ", "x", true},
        // The first x lies inside exp, the second stands alone.
        {"exp(x)+y", "x", true},
        {"acosh(c)+x+y", "c", true},
        {"x + xy", "x", true},
        {"x + xy", "xy", true},
        {"xy + x", "x", true},
        // Only inside other words.
        {"exp(y)+xy", "x", false},
        {"acosh(y)", "c", false},
        {"spirals(1;2)", "spiral", false},
        // What stands before an occurrence is not looked at.
        {"2*ax", "x", true},
        {"atan2(x;y)", "x", true},
        // "," is no delimiter: a comma typed between arguments glues the words.
        {"atan2(x,y)", "x", false},
        {"v\t1", "v", false},
        {"x", "x", true},
        {"x+y", "", false},
        {"x+y", "z", false},
        {"", "x", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsVariableUsed(c.formula, c.name), c.used) << c.formula;
    for (char d : std::string("()+-=*/^%! |&<>;")) {
        EXPECT_TRUE(IsVariableUsed(std::string("v") + d + "1", "v")) << d;
    }
}

TEST(UsedVariableRule, SpiralIsFoundByTheSameRule) {
    EXPECT_TRUE(FormulaUsesSpiral("spiral(x;y)"));
    EXPECT_TRUE(FormulaUsesSpiral("x+spiral"));
    EXPECT_TRUE(FormulaUsesSpiral("myspiral(1;2)"));
    EXPECT_TRUE(FormulaUsesSpiral("spiralx(1;2)+spiral(1;2)"));
    EXPECT_FALSE(FormulaUsesSpiral("spirals(x;y)"));
    EXPECT_FALSE(FormulaUsesSpiral("x^2"));
}

TEST(UsedVariableRule, FormulasWhoseFirstOccurrenceLiesInsideAFunctionNameCompile) {
    const std::vector<VariableRowTexts> rows = {
        {"x", "0", "1", "0,5"}, {"y", "0", "1", "0,25"}, {"c", "1", "2", "1"}};
    const struct {
        const char* formula;
        const char* names;
    } cases[] = {{"exp(x)+y", "x,y"}, {"acosh(c)+x+y", "x,y,c"}};
    for (const auto& c : cases) {
        Page page;
        const FunctionPageReading r = page.Read(c.formula, rows);
        EXPECT_EQ(r.Result, PageReadResult::Ok) << c.formula;
        EXPECT_EQ(page.problem.VarNames(), c.names);
    }
}

TEST(ReadFunctionTexts, StartUpPageGivesThreeVariablesAndCalculateShows31) {
    Page page;
    const FunctionPageReading r = page.Read(kStartFormula, StartRows());
    ASSERT_EQ(r.Result, PageReadResult::Ok);
    EXPECT_TRUE(r.Notices.empty());
    EXPECT_TRUE(r.VariablesRead);
    EXPECT_FALSE(r.UsesSpiral);
    EXPECT_EQ(page.problem.VarNames(), "x,y,c");
    EXPECT_EQ(page.problem.FunctionText(), kStartFormula);
    EXPECT_FALSE(page.problem.Maximize());
    EXPECT_EQ(page.problem.VariableMin(1), -40.0f);
    EXPECT_EQ(page.problem.VariableMax(1), 40.0f);
    EXPECT_EQ(page.problem.VariableDefault(1), 6.0f);
    EXPECT_EQ(FuncValueText(EvaluateAtDefaults(page.parser, page.problem)), "31");
}

TEST(ReadFunctionTexts, RowsNotInTheFormulaAreLeftOutSilently) {
    Page page;
    std::vector<VariableRowTexts> rows = StartRows();
    rows.push_back({"z", "", "", ""});
    rows.push_back({"", "1", "2", "3"});
    const FunctionPageReading r = page.Read("x+c", rows, true);
    ASSERT_EQ(r.Result, PageReadResult::Ok);
    EXPECT_TRUE(r.Notices.empty());
    EXPECT_EQ(Names(page.problem), (std::vector<std::string>{"x", "c"}));
    EXPECT_TRUE(page.problem.Maximize());
}

TEST(ReadFunctionTexts, IncompleteUsedRowsAreReportedOnceEachAndTheReadingGoesOn) {
    Page page;
    std::vector<VariableRowTexts> rows = {
        {"x", "-1", "1", "0"}, {"y", "-1", "", "0"}, {"c", "", "1", "0"}, {"d", "0", "1", "0,5"}};
    const FunctionPageReading r = page.Read("x+y+c+d", rows);
    EXPECT_EQ(Names(page.problem), (std::vector<std::string>{"x", "d"}));
    // The parser does not know y, so the formula does not compile.
    ASSERT_EQ(r.Result, PageReadResult::CompileError);
    ASSERT_EQ(r.Notices.size(), 3u);
    EXPECT_EQ(r.Notices[0], "Niekompletne dane wejsciowe !");
    EXPECT_EQ(r.Notices[1], "Niekompletne dane wejsciowe !");
    EXPECT_EQ(r.Notices[2], "Bląd w funkcji. Kolumna: " + std::to_string(r.ErrorPosition) + " : " +
                                page.parser.ErrorMsg());
    EXPECT_EQ(r.ErrorPosition, 2);
    EXPECT_TRUE(r.VariablesRead);
}

TEST(ReadFunctionTexts, CompileErrorLeavesFormulaAndDirectionAlone) {
    Page page;
    ASSERT_EQ(page.Read("x", {{"x", "0", "1", "0"}}).Result, PageReadResult::Ok);
    const FunctionPageReading r = page.Read("x+*2", {{"x", "0", "1", "0"}}, true);
    ASSERT_EQ(r.Result, PageReadResult::CompileError);
    EXPECT_EQ(r.ErrorPosition, 2);
    EXPECT_EQ(page.problem.FunctionText(), "x");
    EXPECT_FALSE(page.problem.Maximize());
    EXPECT_EQ(r.NormalisedFormula, "x+*2");
}

TEST(ReadFunctionTexts, NameOnlyInsideOtherWordsIsNotAVariableSoTheCompileFails) {
    Page page;
    const FunctionPageReading r = page.Read("exp(xy)", {{"x", "0", "1", "0"}});
    EXPECT_EQ(page.problem.VariableCount(), 0);
    ASSERT_EQ(r.Result, PageReadResult::CompileError);
    ASSERT_EQ(r.Notices.size(), 1u);
    EXPECT_EQ(r.Notices[0].rfind("Bląd w funkcji. Kolumna: 4 : ", 0), 0u) << r.Notices[0];
}

TEST(ReadFunctionTexts, NumbersWithPointOrCommaAndFormulasWithCommaAndSemicolon) {
    Page page;
    std::vector<VariableRowTexts> rows = {{"x", "-0.5", "0,5", "0.25"}, {"y", "0", "2", "1,5"}};
    ASSERT_EQ(page.Read("atan2(x;y) + 1,5*x", rows).Result, PageReadResult::Ok);
    EXPECT_EQ(page.problem.VariableMin(0), -0.5f);
    EXPECT_EQ(page.problem.VariableMax(0), 0.5f);
    EXPECT_EQ(page.problem.VariableDefault(0), 0.25f);
    EXPECT_EQ(page.problem.FunctionText(), "atan2(x,y) + 1.5*x");
    EXPECT_NEAR(EvaluateAtDefaults(page.parser, page.problem), std::atan2(0.25, 1.5) + 0.375,
                1e-12);
}

TEST(ReadFunctionTexts, SpiralIsCallableAndFlagged) {
    Page page;
    const FunctionPageReading r =
        page.Read("spiral(x;y)", {{"x", "0", "1", "7"}, {"y", "0", "9", "8"}});
    ASSERT_EQ(r.Result, PageReadResult::Ok);
    EXPECT_TRUE(r.UsesSpiral);
    EXPECT_DOUBLE_EQ(EvaluateAtDefaults(page.parser, page.problem), 0.5);
    EXPECT_FALSE(page.Read("x", {{"x", "0", "1", "0"}}).UsesSpiral);
}

TEST(ReadFunctionTexts, TextThatIsNotANumberStopsAndKeepsTheRowsBefore) {
    Page page;
    std::vector<VariableRowTexts> rows = {
        {"x", "0", "1", "0"}, {"y", "1.2.3", "2", "0"}, {"c", "", "", ""}, {"d", "0", "1", "0"}};
    const FunctionPageReading r = page.Read("x+y+c+d", rows);
    EXPECT_EQ(r.Result, PageReadResult::Stopped);
    // The message names the text as converted, after the point became a comma.
    EXPECT_EQ(r.Error, "'1,2,3' is not a valid floating point value");
    EXPECT_TRUE(r.Notices.empty());
    EXPECT_FALSE(r.VariablesRead);
    EXPECT_EQ(Names(page.problem), (std::vector<std::string>{"x"}));
}

TEST(ReadFunctionTexts, TextsOverTheirLimitsAreRefusedNamingTheRow) {
    Page page;
    const std::string longName(20, 'v');
    FunctionPageReading r =
        page.Read("x+" + longName, {{"x", "0", "1", "0"}, {longName, "0", "1", "0"}});
    EXPECT_EQ(r.Result, PageReadResult::Stopped);
    EXPECT_EQ(r.Error.rfind("Row 2: ", 0), 0u) << r.Error;
    EXPECT_NE(r.Error.find("19"), std::string::npos) << r.Error;
    EXPECT_EQ(page.problem.VariableCount(), 1);

    // A long name that the formula does not use is never looked at.
    EXPECT_EQ(page.Read("x", {{"x", "0", "1", "0"}, {longName, "", "", ""}}).Result,
              PageReadResult::Ok);

    const std::string longCell = "0," + std::string(50, '1');
    r = page.Read("x", {{"x", longCell, "1", "0"}});
    EXPECT_EQ(r.Result, PageReadResult::Stopped);
    EXPECT_EQ(r.Error, "Row 1: a number is longer than 51 characters");
    EXPECT_EQ(page.Read("x", {{"x", longCell.substr(0, 51), "1", "0"}}).Result, PageReadResult::Ok);

    const std::string longFormula = "x" + std::string(199, ' ');
    r = page.Read(longFormula, {{"x", "0", "1", "0"}});
    EXPECT_EQ(r.Result, PageReadResult::Stopped);
    EXPECT_TRUE(r.VariablesRead);
    EXPECT_EQ(r.Error, "The function is longer than 199 characters");
    EXPECT_EQ(page.problem.FunctionText(), "x");
    EXPECT_EQ(page.Read(longFormula.substr(0, 199), {{"x", "0", "1", "0"}}).Result,
              PageReadResult::Ok);
}

TEST(ReadFunctionTexts, BoundsAreNotComparedAndDuplicateNamesGoToTheParser) {
    Page page;
    EXPECT_EQ(page.Read("x", {{"x", "5", "1", "9"}}).Result, PageReadResult::Ok);
    const FunctionPageReading r = page.Read("x", {{"x", "0", "1", "0"}, {"x", "0", "2", "0"}});
    EXPECT_EQ(page.problem.VarNames(), "x,x");
    EXPECT_EQ(r.Result, PageReadResult::CompileError);
}
