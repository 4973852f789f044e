// The window's experiment set-up: its texts, the problem file its tables name, the target it
// offers and how its runs are numbered; the axis ticks of its plots.
#include "app/experiment/ExperimentSetup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/datafile/OpenedProblem.h"
#include "app/plot/PictureScale.h"
#include "app/plot/PlotTicks.h"
#include "app/text/NumberText.h"

namespace quarmel {
namespace {

const std::string kSphere = QUARMEL_EXAMPLES_DIR "/sphere.txt";

TEST(ExperimentSetup, TextsReadWithTheDecimalCommaAndRefuseWhatCannotRun) {
    ExperimentTexts t{{Greedy, Genetic}, " 3 ", "4294967295", "2500", "1,5", "0,01"};
    const ExperimentReading ok = ReadExperimentTexts(t);
    ASSERT_EQ(ok.Refusal, "");
    EXPECT_EQ(ok.Setup.Seeds, 3u);
    EXPECT_EQ(ok.Setup.FirstSeed, 4294967295u);
    EXPECT_EQ(ok.Setup.MaxEvaluations, 2500u);
    EXPECT_EQ(ok.Setup.MaxSeconds, 1.5);
    EXPECT_EQ(ok.Setup.Target, 0.01);

    t.Evaluations = t.Seconds = t.Target = " ";
    const ExperimentReading blank = ReadExperimentTexts(t);
    EXPECT_EQ(blank.Setup.MaxEvaluations, 0u);
    EXPECT_FALSE(blank.Setup.MaxSeconds || blank.Setup.Target);

    struct Case {
        const char *Seeds, *First, *Evaluations, *Seconds;
    };
    for (const Case& c : {Case{"0", "1", "", ""}, Case{"2", "-1", "", ""}, Case{"2", "1", "0", ""},
                          Case{"2", "1", "2,5", ""}, Case{"2", "1", "", "0"}}) {
        const ExperimentReading r =
            ReadExperimentTexts({{Greedy}, c.Seeds, c.First, c.Evaluations, c.Seconds, ""});
        EXPECT_NE(r.Refusal, "") << c.Seeds << " " << c.First << " " << c.Evaluations;
    }
    EXPECT_NE(ReadExperimentTexts({{}, "2", "1", "", "", ""}).Refusal, "");
    EXPECT_THROW(ReadExperimentTexts({{Greedy}, "2", "1", "", "", "0.5"}), ConversionError);
}

TEST(ExperimentSetup, TheTablesNameTheFileOnlyWhileTheWindowHoldsItsProblem) {
    AlgParameters shown;
    ASSERT_TRUE(OpenProblem(kSphere, shown).Ok());
    EXPECT_EQ(ProblemFileColumn(kSphere, shown, "Sphere "), kSphere);
    EXPECT_EQ(ProblemFileColumn(kSphere, shown, "Ball"), "");
    EXPECT_EQ(ProblemFileColumn("", shown, "Sphere "), "");

    AlgParameters changed(shown);
    changed.SetMaximize(true);
    EXPECT_EQ(ProblemFileColumn(kSphere, changed, "Sphere "), "");
    changed = shown;
    changed.ClearVariables();
    changed.AddVariable("x", -5.12f, 5.12f, 3);
    changed.AddVariable("y", -5.12f, 5.0f, -4);
    EXPECT_EQ(ProblemFileColumn(kSphere, changed, "Sphere "), "");
}

TEST(ExperimentSetup, TheTargetOfferedIsTheKnownOptimumElseTheBestKeptRun) {
    ExampleProblem known;
    known.Optimum.Value = 2;
    known.Optimum.Tolerance = 0.5;
    EXPECT_EQ(DefaultTarget(known, {1.0f}, false), 2.5);
    EXPECT_EQ(DefaultTarget(known, {}, true), 1.5);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<std::optional<float>> kept = {3.0f, nan, std::nullopt, -1.0f};
    EXPECT_EQ(DefaultTarget(std::nullopt, kept, false), -1.0);
    EXPECT_EQ(DefaultTarget(std::nullopt, kept, true), 3.0);
    EXPECT_FALSE(DefaultTarget(std::nullopt, {nan, std::nullopt}, false));
}

TEST(ExperimentSetup, RunsGoAlgorithmByAlgorithmWithTheSeedsStartingAgain) {
    ExperimentSetup setup;
    setup.Algorithms = {Steepest, Genetic};
    setup.Seeds = 2;
    setup.FirstSeed = 4294967295u;  // the next one is 0, as the batch runner counts
    setup.Target = 1.0;
    AlgParameters p;
    ASSERT_TRUE(OpenProblem(kSphere, p).Ok());
    const ExperimentPlan plan(setup, p, kSphere, "Sphere ");
    ASSERT_EQ(plan.Runs().size(), 4u);
    const AlgorithmKind kinds[] = {Steepest, Steepest, Genetic, Genetic};
    const std::uint32_t seeds[] = {4294967295u, 0, 4294967295u, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(plan.Runs()[i].Algorithm, kinds[i]);
        EXPECT_EQ(plan.Runs()[i].Seed, seeds[i]);
        EXPECT_EQ(plan.Runs()[i].Limits.Target, 1.0);
        EXPECT_TRUE(plan.Runs()[i].Limits.KeepTrace);
    }
    // A cancelled experiment hands on a prefix: three runs are two of one and one of the other.
    const auto groups = plan.ByAlgorithm(std::vector<RunOutcome>(3));
    EXPECT_EQ(groups[0].size(), 2u);
    EXPECT_EQ(groups[1].size(), 1u);
}

TEST(PlotTicks, RoundStepsThatFitTheRange) {
    using Ticks = std::vector<double>;
    EXPECT_EQ(NiceTicks(0, 1, 5), (Ticks{0, 0.5, 1}));  // 0.2 would give 6
    EXPECT_EQ(NiceTicks(-3, 7, 10), (Ticks{-2, 0, 2, 4, 6}));
    EXPECT_EQ(NiceTicks(4, 4, 3), (Ticks{4}));
    EXPECT_TRUE(NiceTicks(0, std::numeric_limits<double>::infinity(), 5).empty());
    EXPECT_EQ(LogTicks(3, 40, 10), (Ticks{5, 10, 20}));
    EXPECT_EQ(LogTicks(0.5, 2000, 5), (Ticks{1, 10, 100, 1000}));  // twelve with 2 and 5
    EXPECT_EQ(LogTicks(1e-10, 1e10, 5).size(), 5u);                // every fifth power
    EXPECT_TRUE(LogTicks(0, 1, 5).empty());
    EXPECT_EQ(DecadeTicks(12345), (Ticks{1, 10, 100, 1000, 10000}));
    EXPECT_EQ(DecadeTicks(3), (Ticks{1}));
    // Around 0, linear within 1: the powers of ten each way, every fifth when too many.
    EXPECT_EQ(SymmetricLogTicks(-100, 1000, 1, 10), (Ticks{-100, -10, -1, 0, 1, 10, 100, 1000}));
    EXPECT_EQ(SymmetricLogTicks(-1e6, 1e6, 1, 5), (Ticks{-1e5, -1, 0, 1, 1e5}));
}

TEST(PictureScale, TwiceUnlessTheNameAsksForAnother) {
    const std::pair<const char*, int> cases[] = {{"band.png", 2},    {"dir@3x/band.png", 2},
                                                 {"band@1x.png", 1}, {"band@9x.png", 2},
                                                 {"a@b/band@4x", 4}, {"band@12x.png", 2}};
    for (const auto& [path, scale] : cases) EXPECT_EQ(PictureScale(path), scale) << path;
}

TEST(PlotTicks, OneNumberStyleOnAnAxis) {
    using Labels = std::vector<std::string>;
    const std::pair<std::vector<double>, Labels> cases[] = {
        {{0, 0.1 * 3, 2500}, {"0", "0,3", "2500"}},  // a step's noise is not shown
        {{1, 1000, 1e4}, {"1", "1000", "10000"}},
        {{1, 10, 1e6}, {"1E0", "1E1", "1E6"}},  // one exponent makes them all exponents
        {{-2.5e-5, 0, 9.996e-5}, {"-2,5E-5", "0", "1E-4"}},
    };
    for (const auto& [ticks, labels] : cases) EXPECT_EQ(TickLabels(ticks), labels);
}

}  // namespace
}  // namespace quarmel
