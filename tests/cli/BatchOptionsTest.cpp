#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cli/BatchOptions.h"
#include "cli/BatchRun.h"

using namespace quarmel;

namespace {

std::string ParseError(const std::vector<std::string>& args) {
    try {
        ParseBatchArguments(args);
    } catch (const BatchInputError& e) {
        return e.what();
    }
    return "no error";
}

std::string SetError(const std::string& name, const std::string& value) {
    AlgParameters p;
    try {
        ApplySetting({name, value}, p);
    } catch (const BatchInputError& e) {
        return e.what();
    }
    return "no error";
}

RunOutcome WithBest(std::optional<float> best) {
    RunOutcome r;
    r.Best = best;
    return r;
}

}  // namespace

TEST(BatchArguments, ReadsEveryOptionInBothForms) {
    const BatchOptions o =
        ParseBatchArguments({"--algorithm", "genetic", "--seed=4294967295", "--set", "PopSize=20",
                             "--set=Iterations=5", "--population", "--out", "o.txt", "p.txt"});
    EXPECT_EQ(o.Algorithm, Genetic);
    EXPECT_EQ(o.Seed, 4294967295u);
    EXPECT_EQ(o.Runs, 1);
    EXPECT_FALSE(o.RunsGiven);
    ASSERT_EQ(o.Settings.size(), 2u);
    EXPECT_EQ(o.Settings[1].Name, "Iterations");
    EXPECT_EQ(o.Settings[1].Value, "5");
    EXPECT_TRUE(o.Population);
    EXPECT_EQ(o.OutFile, "o.txt");
    EXPECT_EQ(o.ProblemFile, "p.txt");

    const BatchOptions r = ParseBatchArguments({"p.txt", "--runs", "3", "--algorithm=annealing"});
    EXPECT_EQ(r.Algorithm, SimulatedAnnealing);
    EXPECT_FALSE(r.Seed.has_value());
    EXPECT_EQ(r.Runs, 3);
    EXPECT_TRUE(r.RunsGiven);
    EXPECT_TRUE(ParseBatchArguments({"--help"}).Help);
    EXPECT_TRUE(ParseBatchArguments({"--version"}).Version);
}

TEST(BatchArguments, RefusesWhatItCannotUse) {
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "--fast", "p.txt"}), "unknown option '--fast'");
    EXPECT_EQ(ParseError({"p.txt"}), "--algorithm is missing");
    EXPECT_EQ(ParseError({"--algorithm", "random", "p.txt"}),
              "unknown algorithm 'random' (greedy, steepest, annealing or genetic)");
    EXPECT_EQ(ParseError({"--algorithm", "greedy"}), "the problem file is missing");
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "a", "b"}),
              "only one problem file may be given");
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "p.txt", "--seed"}),
              "option --seed needs a value");
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "--set", "Speed=1", "p.txt"}),
              "unknown setting 'Speed'");
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "--population", "p.txt"}),
              "--population is for --algorithm genetic only");
    EXPECT_EQ(ParseError({"--algorithm", "genetic", "--population", "--runs", "2", "p.txt"}),
              "--population cannot be combined with --runs");
    for (const char* seed : {"-1", "4294967296", "1.5", "", "x"}) {
        EXPECT_NE(ParseError({"--algorithm", "greedy", "--seed", seed, "p.txt"}), "no error")
            << seed;
    }
    for (const char* runs : {"0", "-2", "1000001", "2x"}) {
        EXPECT_NE(ParseError({"--algorithm", "greedy", "--runs", runs, "p.txt"}), "no error")
            << runs;
    }
    EXPECT_NE(ParseError({"--algorithm", "greedy", "--set", "A", "p.txt"}), "no error");
    EXPECT_NE(ParseError({"--algorithm", "greedy", "--population=1", "p.txt"}), "no error");
}

TEST(BatchSettings, StartAsTheOptionPagesWithoutDelays) {
    AlgParameters p;
    p.Iterations = 1;
    p.A = 0.5f;
    StartSettings(p);
    EXPECT_EQ(p.Iterations, 200);
    EXPECT_EQ(p.PopSize, 500);
    EXPECT_EQ(p.A, 0.05f);
    EXPECT_EQ(p.Alfa, 0.96f);
    EXPECT_EQ(p.CrossoverType, 2);
    EXPECT_EQ(p.LocalSleep, 0);
    EXPECT_EQ(p.GeneticSleep, 0);
}

TEST(BatchSettings, ValuesMustLieInTheOptionPagesRanges) {
    AlgParameters p;
    ApplySetting({"A", "0.001"}, p);
    EXPECT_EQ(p.A, 0.001f);
    ApplySetting({"COProbab", "12.5"}, p);
    EXPECT_EQ(p.COProbab, 12.5f);
    ApplySetting({"CrossoverType", "0"}, p);
    EXPECT_EQ(p.CrossoverType, 0);
    ApplySetting({"GeneticSleep", "10000"}, p);
    EXPECT_EQ(p.GeneticSleep, 10000);
    ApplySetting({"TournamentSize", "0"}, p);
    EXPECT_EQ(p.TournamentSize, 0);

    EXPECT_EQ(SetError("A", "0.0009"), "setting A needs a number in 0.001..1, not '0.0009'");
    EXPECT_EQ(SetError("Temp0", "201"), "setting Temp0 needs a whole number in 0..200, not '201'");
    EXPECT_NE(SetError("Temp0", "1.5"), "no error");
    EXPECT_NE(SetError("PopSize", "0"), "no error");
    EXPECT_NE(SetError("Iterations", "1001"), "no error");
    EXPECT_NE(SetError("SelectionType", "2"), "no error");
    EXPECT_NE(SetError("MutA", "1.5"), "no error");
    EXPECT_NE(SetError("Alfa", "0,5"), "no error");
    EXPECT_NE(SetError("Alfa", "nan"), "no error");
    EXPECT_NE(SetError("Stop", ""), "no error");
    EXPECT_NE(SetError("LocalSleep", "-1"), "no error");
}

TEST(BatchStatistics, BestMedianAndWorstInTheProblemsDirection) {
    const std::vector<RunOutcome> runs = {WithBest(3.0f), WithBest(1.0f), WithBest(std::nullopt),
                                          WithBest(2.0f), WithBest(10.0f)};
    RunStatistics s = Statistics(runs, false);
    EXPECT_EQ(s.Best, 1.0);
    EXPECT_EQ(s.Median, 2.5);  // of 1, 2, 3, 10
    EXPECT_EQ(s.Worst, 10.0);
    EXPECT_EQ(BestRun(runs, false), 1u);

    s = Statistics(runs, true);
    EXPECT_EQ(s.Best, 10.0);
    EXPECT_EQ(s.Median, 2.5);
    EXPECT_EQ(s.Worst, 1.0);
    EXPECT_EQ(BestRun(runs, true), 4u);

    // Not a number counts as the worst either way.
    const std::vector<RunOutcome> odd = {WithBest(std::nanf("")), WithBest(5.0f), WithBest(4.0f)};
    s = Statistics(odd, true);
    EXPECT_EQ(s.Best, 5.0);
    EXPECT_EQ(s.Median, 4.0);
    EXPECT_TRUE(std::isnan(*s.Worst));
    EXPECT_EQ(BestRun(odd, true), 1u);

    EXPECT_FALSE(Statistics({WithBest(std::nullopt)}, true).Best.has_value());
}
