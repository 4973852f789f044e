#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/OpenedOptimum.h"
#include "app/OptimumGap.h"

using namespace quarmel;

namespace {

Problem Bowl() {
    Problem p;
    p.SetFunctionText("x^2+y^2");
    p.AddVariable("x", -5, 5, 1);
    p.AddVariable("y", -5, 5, 1);
    return p;
}

ExampleProblem BowlExample() {
    ExampleProblem e;
    e.File = "bowl.txt";
    e.Optimum = {0.0, {0.0, 0.0}, 1e-6};
    return e;
}

}  // namespace

// The optimum stays with the problem it was opened with: any change of formula, variable, range
// or direction drops it, a changed default does not, and the same problem read again keeps it.
TEST(OpenedOptimum, AppliesOnlyWhileTheProblemIsTheOneOpened) {
    const struct {
        const char* change;
        std::function<void(Problem&)> apply;
        bool applies;
    } cases[] = {
        {"none", [](Problem&) {}, true},
        {"default",
         [](Problem& p) {
             p.ClearVariables(), p.AddVariable("x", -5, 5, 3), p.AddVariable("y", -5, 5, -2);
         },
         true},
        {"formula", [](Problem& p) { p.SetFunctionText("x^2+y^2+1"); }, false},
        {"range",
         [](Problem& p) {
             p.ClearVariables(), p.AddVariable("x", -5, 5, 1), p.AddVariable("y", -5, 4, 1);
         },
         false},
        {"renamed",
         [](Problem& p) {
             p.ClearVariables(), p.AddVariable("x", -5, 5, 1), p.AddVariable("z", -5, 5, 1);
         },
         false},
        {"dropped variable", [](Problem& p) { p.ClearVariables(), p.AddVariable("x", -5, 5, 1); },
         false},
        {"direction", [](Problem& p) { p.SetMaximize(true); }, false},
    };
    for (const auto& c : cases) {
        OpenedOptimum opened;
        opened.Remember(BowlExample(), Bowl());
        Problem now = Bowl();
        c.apply(now);
        EXPECT_EQ(opened.For(now).has_value(), c.applies) << c.change;
    }
    // A catalogue line of the other direction or another dimension is not this file's problem.
    OpenedOptimum opened;
    ExampleProblem other = BowlExample();
    other.Maximize = true;
    opened.Remember(other, Bowl());
    EXPECT_FALSE(opened.For(Bowl()));
    other = BowlExample();
    other.Optimum.Location = {0.0};
    opened.Remember(other, Bowl());
    EXPECT_FALSE(opened.For(Bowl()));
}

TEST(OpenedOptimum, GapTextMeasuresTowardsTheWorseSide) {
    ExampleProblem e = BowlExample();
    e.Optimum = {-1.5, {0.25, -3.0}, 1e-6};
    EXPECT_EQ(OptimumGapText(-1.25f, e, false),
              "gap to the known optimum 0,25 (optimum -1,5 at (0,25; -3))");
    e.Optimum.Value = 2.0;
    EXPECT_EQ(OptimumGapText(1.5f, e, true),
              "gap to the known optimum 0,5 (optimum 2 at (0,25; -3))");
}
