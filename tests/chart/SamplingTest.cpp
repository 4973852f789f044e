#include <gtest/gtest.h>

#include <stdexcept>

#include "chart/Sampling.h"
#include "model/Problem.h"

using namespace quarmel;

namespace {

// Three variables whose defaults are told apart by the formula: a in the ten-thousands,
// b in the hundreds, c in the units.
class Sampling : public ::testing::Test {
  protected:
    void SetUp() override {
        variables = {{"a", -5, 5, 7}, {"b", -5, 5, 8}, {"c", -5, 5, 9}};
        AddSpiral(parser);
    }
    void Compile(const char* formula) {
        ASSERT_EQ(parser.Parse(formula, "a,b,c", false), -1) << parser.ErrorMsg();
    }
    FunctionParser parser;
    std::vector<VariableSpec> variables;
};

TEST_F(Sampling, TwoAxesWalkXInsideYAndKeepTheOtherDefaults) {
    Compile("a*10000 + b*100 + c");
    SurfaceSampling s = SampleOverXY(parser, variables, 0, 2, 0.0f, 100.0f, 0.0f, 10.0f);
    ASSERT_EQ(s.Samples.size(), 10000u);
    // Sample j*100 + k: a = k (step 1), c = j * 0.1 (step 0.1), b at its default 8.
    EXPECT_NEAR(s.Samples[0], 800.0, 1e-3);
    EXPECT_NEAR(s.Samples[5], 50800.0, 1e-2);
    EXPECT_NEAR(s.Samples[3 * 100 + 5], 50800.3, 1e-2);
    EXPECT_NEAR(s.Samples[99 * 100 + 99], 990809.9, 0.1);
    // The maximum of a range is never sampled: the last sample is min + 0.99 * width.
    EXPECT_NEAR(s.Samples[99], 990800.0, 0.1);
    EXPECT_EQ(s.DisplayXMin, 0.0f);
    EXPECT_EQ(s.DisplayXMax, 100.0f);
    EXPECT_EQ(s.DisplayYMin, 0.0f);
    EXPECT_EQ(s.DisplayYMax, 10.0f);
    // All samples are positive; the running minimum starts at 0 and stays there.
    EXPECT_EQ(s.HeightMin, 0.0f);
    EXPECT_NEAR(s.HeightMax, 990809.9, 0.1);
}

TEST_F(Sampling, TheSameVariableOnBothAxesTakesTheYValue) {
    Compile("a");
    SurfaceSampling s = SampleOverXY(parser, variables, 0, 0, 0.0f, 100.0f, 0.0f, 10.0f);
    ASSERT_EQ(s.Samples.size(), 10000u);
    for (int j : {0, 1, 42, 99}) {
        for (int k : {0, 17, 99}) EXPECT_NEAR(s.Samples[j * 100 + k], j * 0.1, 1e-4);
    }
}

TEST_F(Sampling, AMinimumAboveTheMaximumRisesFromTheMinimum) {
    Compile("a + c");
    SurfaceSampling s = SampleOverXY(parser, variables, 0, 2, 10.0f, 0.0f, 4.0f, 2.0f);
    EXPECT_NEAR(s.Samples[0], 14.0, 1e-4);
    EXPECT_NEAR(s.Samples[99], 10.0 + 9.9 + 4.0, 1e-4);
    EXPECT_NEAR(s.Samples[99 * 100], 10.0 + 4.0 + 1.98, 1e-4);
    EXPECT_EQ(s.DisplayXMin, 10.0f);
    EXPECT_EQ(s.DisplayXMax, 0.0f);
}

TEST_F(Sampling, TheRunningExtremesStartAtZero) {
    Compile("a - 100");
    SurfaceSampling neg = SampleOverXY(parser, variables, 0, 1, 0.0f, 10.0f, 0.0f, 10.0f);
    EXPECT_NEAR(neg.HeightMin, -100.0, 1e-4);
    EXPECT_EQ(neg.HeightMax, 0.0f);

    Compile("a*a + 1");
    SurfaceSampling pos = SampleOverX(parser, variables, 0, -2.0f, 2.0f);
    EXPECT_EQ(pos.HeightMin, 0.0f);
    EXPECT_NEAR(pos.HeightMax, 5.0, 1e-4);
}

TEST_F(Sampling, OneAxisGivesAHundredSamplesAndNoYRange) {
    Compile("a*10000 + b*100 + c");
    SurfaceSampling s = SampleOverX(parser, variables, 1, -4.0f, 6.0f);
    ASSERT_EQ(s.Samples.size(), 100u);
    // b = -4 + k * 0.1, a and c at their defaults.
    EXPECT_NEAR(s.Samples[0], 70009.0 - 400.0, 1e-2);
    EXPECT_NEAR(s.Samples[50], 70009.0 + 100.0, 1e-2);
    EXPECT_NEAR(s.Samples[99], 70009.0 + 590.0, 1e-2);
    EXPECT_EQ(s.DisplayXMin, -4.0f);
    EXPECT_EQ(s.DisplayXMax, 6.0f);
    EXPECT_EQ(s.DisplayYMin, 0.0f);
    EXPECT_EQ(s.DisplayYMax, 0.0f);
}

TEST_F(Sampling, AProblemWithoutVariablesIsConstantWithAllRangesZero) {
    ASSERT_EQ(parser.Parse("3*2+spiral(0,4)", "", false), -1) << parser.ErrorMsg();
    SurfaceSampling s = SampleWithoutVariables(parser);
    ASSERT_EQ(s.Samples.size(), 10000u);
    for (float v : s.Samples) ASSERT_FLOAT_EQ(v, 6.0f);
    EXPECT_EQ(s.DisplayXMin, 0.0f);
    EXPECT_EQ(s.DisplayXMax, 0.0f);
    EXPECT_EQ(s.DisplayYMin, 0.0f);
    EXPECT_EQ(s.DisplayYMax, 0.0f);
    EXPECT_EQ(s.HeightMin, 0.0f);
    EXPECT_EQ(s.HeightMax, 0.0f);
}

TEST_F(Sampling, AnAxisThatIsNoVariableIsRefused) {
    Compile("a");
    EXPECT_THROW(SampleOverXY(parser, variables, 0, 3, 0, 1, 0, 1), std::out_of_range);
    EXPECT_THROW(SampleOverXY(parser, variables, -1, 0, 0, 1, 0, 1), std::out_of_range);
    EXPECT_THROW(SampleOverX(parser, variables, 3, 0, 1), std::out_of_range);
}

}  // namespace
