#include "app/Convergence.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/RunRecords.h"
#include "app/TableText.h"
#include "support/SolutionSupport.h"

using namespace quarmel;
using quarmel::testing::ListOf;
using quarmel::testing::Make;

TEST(ConvergenceCurve, TakesInOnlyWhatIsNewAndKeepsTheBestSoFar) {
    const float nan = std::nanf("");
    ConvergenceCurve curve(false);  // minimising
    SolutionList list = ListOf({Make({}, nan), Make({}, 5), Make({}, 7)});
    EXPECT_EQ(curve.Update(list), 3u);
    EXPECT_EQ(curve.Update(list), 0u);
    list.Append(Make({}, 2));
    list.Append(Make({}, 3));
    EXPECT_EQ(curve.Update(list), 2u);
    ASSERT_EQ(curve.Count(), 5u);
    EXPECT_TRUE(std::isnan(curve.BestSoFar()[0]));
    // Any number improves on a value that is not one; later only better values count.
    EXPECT_EQ(curve.BestSoFar()[1], 5.0f);
    EXPECT_EQ(curve.BestSoFar()[2], 5.0f);
    EXPECT_EQ(curve.BestSoFar()[3], 2.0f);
    EXPECT_EQ(curve.BestSoFar()[4], 2.0f);
    EXPECT_EQ(curve.Values()[2], 7.0f);

    ConvergenceCurve up(true);
    up.Update(ListOf({Make({}, 1), Make({}, 4), Make({}, 3)}));
    EXPECT_EQ(up.BestSoFar().back(), 4.0f);
}

TEST(ConvergenceCurve, PopulationMeansOncePerGenerationWithoutUndefinedValues) {
    ConvergenceCurve curve(true);
    const SolutionList population = ListOf({Make({}, 1), Make({}, std::nanf("")), Make({}, 4)});
    EXPECT_FALSE(curve.AddPopulationMean(population));  // no generation yet
    curve.Update(ListOf({Make({}, 4)}));
    EXPECT_TRUE(curve.AddPopulationMean(population));
    EXPECT_FALSE(curve.AddPopulationMean(population));  // the same generation again
    curve.Update(ListOf({Make({}, 4), Make({}, 6), Make({}, 6)}));
    EXPECT_TRUE(curve.AddPopulationMean(ListOf({Make({}, 6)})));
    ASSERT_EQ(curve.Means().size(), 2u);
    EXPECT_EQ(curve.Means()[0].Generation, 0u);
    EXPECT_DOUBLE_EQ(curve.Means()[0].Mean, 2.5);
    EXPECT_EQ(curve.Means()[1].Generation, 2u);
}

TEST(RunRecords, LabelsRowsAndDurations) {
    EXPECT_EQ(RunLabel(Genetic, "PopSize=50", 7), "genetic PopSize=50 seed 7");
    EXPECT_EQ(RunLabel(Greedy, "", 12), "greedy seed 12");

    AlgParameters p;
    p.SetMaximize(true);
    p.PopSize = 50;
    p.LocalSleep = 0;  // a delay is not a setting that differs
    const RunRecord r =
        RecordRun(Genetic, p, "bowl, round", 7,
                  ListOf({Make({1}, 2), Make({1}, 9.5f), Make({1}, 3)}), 120, 1.25, true);
    EXPECT_EQ(RunsCsv({r}),
              "algorithm,settings,problem,seed,best,solutions,evaluations,ended\n"
              "genetic,PopSize=50,\"bowl, round\",7,9.5,3,120,stopped\n");
    EXPECT_EQ(RunCells(r)[6], "1.250");
    EXPECT_EQ(RunCells(RecordRun(Greedy, AlgParameters(), "", 1, SolutionList(), 0, 0, false))[3],
              "none");

    EXPECT_EQ(ElapsedText(7.9), "0:07");
    EXPECT_EQ(ElapsedText(754), "12:34");
    EXPECT_EQ(ElapsedText(3723), "1:02:03");
}

TEST(TableText, TheSelectionsRectangleTabSeparated) {
    EXPECT_EQ(TabSeparated({}), "");
    // Given out of order, with a hole at (3, 2).
    EXPECT_EQ(TabSeparated({{3, 1, "c"}, {2, 1, "a"}, {2, 2, "b"}}), "a\tb\nc\t\n");
}
