#include <gtest/gtest.h>

#include "app/examples/OpenedOptimum.h"
#include "app/examples/OptimumGap.h"

using namespace quarmel;

namespace {

Problem Bowl(const char* formula, const char* y, float yMax, float yDefault, bool maximize) {
    Problem p;
    p.SetFunctionText(formula);
    p.AddVariable("x", -5, 5, 1);
    p.AddVariable(y, -5, yMax, yDefault);
    p.SetMaximize(maximize);
    return p;
}

}  // namespace

// A changed formula, variable, range or direction drops the optimum, a changed default does not;
// a catalogue line of another direction or dimension is not the file's problem at all.
TEST(OpenedOptimum, AppliesOnlyWhileTheProblemIsTheOneOpened) {
    ExampleProblem bowl;
    bowl.Optimum = {0.0, {0.0, 0.0}, 1e-6};
    const struct {
        const char* formula;
        const char* y;
        float yMax, yDefault;
        bool maximize, applies;
    } cases[] = {
        {"x^2+y^2", "y", 5, 1, false, true},    {"x^2+y^2", "y", 5, -2, false, true},
        {"x^2+y^2+1", "y", 5, 1, false, false}, {"x^2+y^2", "y", 4, 1, false, false},
        {"x^2+y^2", "z", 5, 1, false, false},   {"x^2+y^2", "y", 5, 1, true, false},
    };
    OpenedOptimum opened;
    opened.Remember(bowl, Bowl("x^2+y^2", "y", 5, 1, false));
    for (const auto& c : cases) {
        const Problem now = Bowl(c.formula, c.y, c.yMax, c.yDefault, c.maximize);
        EXPECT_EQ(opened.For(now).has_value(), c.applies) << "case " << &c - cases;
    }
    ExampleProblem maximum = bowl, line = bowl;
    maximum.Maximize = true;
    line.Optimum.Location = {0.0};
    for (const ExampleProblem& other : {maximum, line}) {
        opened.Remember(other, Bowl("x^2+y^2", "y", 5, 1, false));
        EXPECT_FALSE(opened.For(Bowl("x^2+y^2", "y", 5, 1, false)));
    }
}

TEST(OpenedOptimum, GapTextGivesTheGapAndTheOptimumInTheWindowsNumbers) {
    ExampleProblem e;
    e.Optimum = {-1.5, {0.25, -3.0}, 1e-6};
    EXPECT_EQ(OptimumGapText(-1.25f, e, false),
              "gap to the known optimum 0,25 (optimum -1,5 at (0,25; -3))");
}
