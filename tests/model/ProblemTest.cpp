#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "model/Algparameters.h"
#include "model/Problem.h"

using namespace quarmel;

TEST(ProblemVariables, NamesAreJoinedByCommas) {
    Problem p;
    EXPECT_EQ(p.AddVariable("x", -1, 1, 0), 1);
    EXPECT_EQ(p.VarNames(), "x");
    EXPECT_EQ(p.AddVariable("y", 0, 2, 1), 2);
    EXPECT_EQ(p.VarNames(), "x,y");
    EXPECT_EQ(p.VariableName(1), "y");
    EXPECT_EQ(p.VariableMin(1), 0.0f);
    EXPECT_EQ(p.VariableMax(1), 2.0f);
    EXPECT_EQ(p.VariableDefault(1), 1.0f);
    p.ClearVariables();
    EXPECT_EQ(p.VariableCount(), 0);
    EXPECT_EQ(p.VarNames(), "");
}

TEST(ProblemLimits, OverlongTextsAreRefusedAndNothingChanges) {
    Problem p;
    p.AddVariable(std::string(19, 'a'), 0, 1, 0);
    EXPECT_THROW(p.AddVariable(std::string(20, 'b'), 0, 1, 0), TextLimitError);
    EXPECT_EQ(p.VariableCount(), 1);
    EXPECT_EQ(p.VarNames(), std::string(19, 'a'));

    p.SetFunctionText(std::string(199, '1'));
    EXPECT_THROW(p.SetFunctionText(std::string(200, '1')), TextLimitError);
    EXPECT_EQ(p.FunctionText().size(), 199u);
}

TEST(ProblemLimits, JoinedNamesOverTheLimitAreRefused) {
    Problem p;
    // Ten names of 19 characters with nine commas make 199 characters: still fits.
    for (int i = 0; i < 10; ++i) p.AddVariable(std::string(18, 'v') + char('a' + i), 0, 1, 0);
    EXPECT_EQ(p.VarNames().size(), 199u);
    EXPECT_THROW(p.AddVariable("z", 0, 1, 0), TextLimitError);
    EXPECT_EQ(p.VariableCount(), 10);
    EXPECT_EQ(p.VarNames().size(), 199u);
}

TEST(ProblemParser, CompilesAndEvaluatesInVariableOrder) {
    Problem p;
    p.AddVariable("x", 0, 10, 0);
    p.AddVariable("y", 0, 10, 0);
    p.SetFunctionText("x-2*y");
    ASSERT_EQ(p.Compile(), -1);
    const double v[] = {10, 3};
    EXPECT_DOUBLE_EQ(p.Eval(v), 4.0);
    EXPECT_DOUBLE_EQ(p.Eval(v), 4.0);
    EXPECT_EQ(p.Evaluations(), 2u);
}

TEST(ProblemParser, CompileErrorGivesPositionAndMessage) {
    Problem p;
    p.AddVariable("x", 0, 1, 0);
    p.SetFunctionText("x+*2");
    int pos = p.Compile();
    EXPECT_EQ(pos, 2);
    EXPECT_STRNE(p.ErrorMsg(), "");
    p.SetFunctionText("q+1");  // unknown variable
    EXPECT_GE(p.Compile(), 0);
}

TEST(ProblemParser, AnglesAreRadians) {
    Problem p;
    p.AddVariable("x", 0, 4, 0);
    p.SetFunctionText("sin(x)");
    ASSERT_EQ(p.Compile(), -1);
    const double v[] = {M_PI / 2};
    EXPECT_NEAR(p.Eval(v), 1.0, 1e-12);
}

TEST(ProblemParser, SpiralIgnoresItsFirstArgument) {
    Problem p;
    p.SetFunctionText("spiral(7,8)");
    ASSERT_EQ(p.Compile(), -1);
    EXPECT_DOUBLE_EQ(p.Eval(nullptr), 0.5);
    p.SetFunctionText("spiral(-100,0)");
    ASSERT_EQ(p.Compile(), -1);
    EXPECT_DOUBLE_EQ(p.Eval(nullptr), -0.5);
}

TEST(ProblemParser, DivisionByZeroGivesTheParsersNumber) {
    Problem p;
    p.AddVariable("x", 0, 1, 0);
    p.SetFunctionText("1/x");
    ASSERT_EQ(p.Compile(), -1);
    const double v[] = {0};
    const double r = p.Eval(v);
    EXPECT_TRUE(std::isinf(r) || std::isnan(r) || r == 0.0);  // no exception, a number comes back
}

TEST(ProblemCopy, CopiesCompileIndependently) {
    Problem original;
    original.AddVariable("x", 0, 1, 0);
    original.SetFunctionText("x*2");
    ASSERT_EQ(original.Compile(), -1);

    Problem a = original;
    Problem b;
    b = original;
    a.SetFunctionText("x+100");
    ASSERT_EQ(a.Compile(), -1);
    ASSERT_EQ(b.Compile(), -1);

    const double v[] = {3};
    EXPECT_DOUBLE_EQ(a.Eval(v), 103.0);
    EXPECT_DOUBLE_EQ(b.Eval(v), 6.0);
    EXPECT_DOUBLE_EQ(original.Eval(v), 6.0);
    EXPECT_EQ(original.FunctionText(), "x*2");
    // The copy keeps "spiral".
    a.SetFunctionText("spiral(0,x)");
    ASSERT_EQ(a.Compile(), -1);
    EXPECT_DOUBLE_EQ(a.Eval(v), -0.125);
}

TEST(ProblemCopy, SelfAssignmentKeepsTheProblem) {
    Problem p;
    p.AddVariable("x", 0, 1, 0);
    p.SetFunctionText("x");
    p.SetMaximize(true);
    Problem& alias = p;
    p = alias;
    EXPECT_EQ(p.VarNames(), "x");
    EXPECT_TRUE(p.Maximize());
    ASSERT_EQ(p.Compile(), -1);
}

TEST(AlgParametersRecord, CopyCarriesProblemAndSettings) {
    AlgParameters a;
    a.AddVariable("x", 0, 1, 0);
    a.SetFunctionText("x");
    a.Temp0 = 7;
    a.MutA = 0.5f;
    AlgParameters b = a;
    EXPECT_EQ(b.VarNames(), "x");
    EXPECT_EQ(b.Temp0, 7);
    EXPECT_EQ(b.MutA, 0.5f);
    EXPECT_EQ(b.PopSize, 500);
    EXPECT_EQ(b.Alfa, 0.96f);
}

TEST(ProblemParser, UndefinedEvaluationsAreCountedAndStillGiveTheParsersNumber) {
    // {formula, x, undefined, the value}: a flagged evaluation gives 0 for the whole formula; a
    // value that is not a number (the sine of an infinity) is undefined too, an infinity is not.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* formula;
        double x;
        bool undefined;
        double value;
    } cases[] = {
        {"1/x", 0, true, 0},
        {"1/x", 2, false, 0.5},
        {"sqrt(x)", -1, true, 0},
        {"sqrt(x)", 0, false, 0},
        {"log(x)+1", 0, true, 0},
        {"log(x)+1", 1, false, 1},
        {"acos(x)", 2, true, 0},
        {"x^0.5", -1, true, 0},
        {"sin(exp(x))", 711, true, nan},
        {"exp(x)", 711, false, inf},
        {"cos(exp(x))+1", 711, true, nan},
    };
    for (const auto& c : cases) {
        Problem p;
        p.AddVariable("x", -1, 1000, 0);
        p.SetFunctionText(c.formula);
        ASSERT_EQ(p.Compile(), -1);
        const double value = p.Eval(&c.x);
        p.Eval(&c.x);
        EXPECT_EQ(p.UndefinedEvaluations(), c.undefined ? 2u : 0u) << c.formula << " at " << c.x;
        EXPECT_TRUE(value == c.value || (std::isnan(value) && std::isnan(c.value)))
            << c.formula << " at " << c.x << ": " << value;
        EXPECT_EQ(Problem(p).UndefinedEvaluations(), p.UndefinedEvaluations());
    }
}
