#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "algorithms/AlgorithmTable.h"
#include "app/runs/BatchRun.h"
#include "app/tables/CsvTables.h"
#include "cli/BatchOptions.h"
#include "cli/RunsSummary.h"
#include "model/Settings.h"

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

RunOutcome WithBest(std::optional<float> best, unsigned long long evaluations = 0,
                    std::optional<unsigned long long> toTarget = std::nullopt) {
    RunOutcome r;
    r.Best = best;
    r.Evaluations = evaluations;
    r.EvaluationsToTarget = toTarget;
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
    EXPECT_EQ(o.ProblemFiles, std::vector<std::string>{"p.txt"});

    const BatchOptions r = ParseBatchArguments({"p.txt", "--runs", "3", "--algorithm=annealing"});
    EXPECT_EQ(r.Algorithm, SimulatedAnnealing);
    EXPECT_FALSE(r.Seed.has_value());
    EXPECT_EQ(r.Runs, 3);
    EXPECT_TRUE(r.RunsGiven);
    EXPECT_EQ(r.Jobs, 0);
    EXPECT_EQ(r.MaxEvaluations, kDefaultMaxEvaluations);
    EXPECT_FALSE(r.MaxSeconds.has_value());
    EXPECT_EQ(r.Format, "csv");

    const BatchOptions x = ParseBatchArguments(
        {"--algorithm", "annealing", "--jobs", "3", "--max-evaluations=18446744073709551615",
         "--max-seconds", "0.25", "--target=-1.5", "--format", "long", "--no-header", "--grid",
         "Alfa=0.5,1", "--grid=Lk=2", "p.txt"});
    EXPECT_EQ(x.Jobs, 3);
    EXPECT_EQ(x.MaxEvaluations, 18446744073709551615ULL);
    EXPECT_EQ(x.MaxSeconds, 0.25);
    EXPECT_EQ(x.Target, -1.5);
    EXPECT_EQ(x.Format, "long");
    EXPECT_TRUE(x.NoHeader);
    ASSERT_EQ(x.Grid.size(), 2u);
    EXPECT_EQ(x.Grid[0].Name, "Alfa");
    EXPECT_EQ(x.Grid[0].Values, (std::vector<std::string>{"0.5", "1"}));
    EXPECT_EQ(x.Grid[1].Values, (std::vector<std::string>{"2"}));
    EXPECT_EQ(ParseBatchArguments({"--algorithm=greedy", "--format=runs", "p"}).Format, "runs");
    EXPECT_TRUE(ParseBatchArguments({"--help"}).Help);
    EXPECT_TRUE(ParseBatchArguments({"--version"}).Version);
}

TEST(BatchArguments, RefusesWhatItCannotUse) {
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "--fast", "p.txt"}), "unknown option '--fast'");
    EXPECT_EQ(ParseError({"p.txt"}), "--algorithm is missing");
    EXPECT_EQ(ParseError({"--algorithm", "hill", "p.txt"}),
              "unknown algorithm 'hill' (" + AlgorithmKeys(", ") + ")");
    EXPECT_EQ(ParseError({"--algorithm", "greedy"}), "the problem file is missing");
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "p.txt", "--seed"}),
              "option --seed needs a value");
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "--set", "Speed=1", "p.txt"}),
              "unknown setting 'Speed'");
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "--population", "p.txt"}),
              "--population is for an algorithm with a population (genetic, cmaes, de, pso)");
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
    for (const char* jobs : {"0", "-1", "1025", "two"}) {
        EXPECT_NE(ParseError({"--algorithm", "greedy", "--jobs", jobs, "p.txt"}), "no error")
            << jobs;
    }
    for (const char* e : {"0", "-5", "1e6", "18446744073709551616"}) {
        EXPECT_NE(ParseError({"--algorithm", "greedy", "--max-evaluations", e, "p.txt"}),
                  "no error")
            << e;
    }
    for (const char* s : {"0", "-1", "inf", "nan", "1s"}) {
        EXPECT_NE(ParseError({"--algorithm", "greedy", "--max-seconds", s, "p.txt"}), "no error")
            << s;
    }
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "--grid", "Alfa=0.5,1.5", "p.txt"}),
              "setting Alfa needs a number in 0..1, not '1.5'");
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "--grid", "Alfa=0.5,", "p.txt"}),
              "setting Alfa needs a number in 0..1, not ''");
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "--grid", "Speed=1", "p.txt"}),
              "unknown setting 'Speed'");
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "--grid", "Lk=1", "--grid", "Lk=2", "p.txt"}),
              "--grid Lk is given twice");
    EXPECT_EQ(ParseError({"--algorithm", "greedy", "--format", "wide", "p.txt"})
                  .rfind("unknown format 'wide' (csv, runs, summary, ", 0),
              0u);
    EXPECT_EQ(ParseError({"--summarize", "t.csv", "--format", "long"}),
              "--summarize prints --format summary or pairs");
    EXPECT_EQ(ParseError({"--algorithm", "genetic", "--population", "--format", "long", "p.txt"}),
              "--population is for --format csv only");
    EXPECT_EQ(ParseError({"--algorithm", "genetic", "--population", "--grid", "Lk=1", "p.txt"}),
              "--population cannot be combined with --grid");
    EXPECT_NE(ParseError({"--algorithm", "greedy", "--target", "nan", "p.txt"}), "no error");
    EXPECT_NE(ParseError({"--algorithm", "greedy", "--no-header=1", "p.txt"}), "no error");
    EXPECT_NE(ParseError({"--algorithm", "greedy", "--population=1", "p.txt"}), "no error");
    // A lone "-" names neither standard input nor standard output, nor a file, also after "--".
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--algorithm", "greedy", "-"},
          {"--algorithm=greedy", "--", "-"}}) {
        EXPECT_EQ(ParseError(args),
                  "the problem is read from a file, not standard input: name it (./- for a file "
                  "named -)");
    }
    for (const char* out : {"--out=-", "--out"}) {
        std::vector<std::string> args = {"--algorithm", "greedy", out, "p.txt"};
        if (out == std::string("--out")) args.insert(args.begin() + 3, "-");
        EXPECT_EQ(ParseError(args),
                  "--out writes a data file, not standard output: name the file (./- for a file "
                  "named -)");
    }
    EXPECT_EQ(ParseBatchArguments({"--algorithm", "greedy", "--out", "./-", "./-"}).ProblemFiles,
              std::vector<std::string>{"./-"});
    EXPECT_EQ(ParseBatchArguments({"--algorithm=greedy", "b.txt", "a.txt"}).ProblemFiles,
              (std::vector<std::string>{"b.txt", "a.txt"}));
}

// Each refusal names what is wrong in one line, before anything is read or run.
TEST(BatchArguments, RefusesRepeatsAndWhatItCannotRepresent) {
    // Two axes of 100 values each.
    auto axis = [](const char* name) {
        std::string values = std::string(name) + "=0";
        for (int v = 1; v < 100; ++v) values += "," + std::to_string(v);
        return values;
    };
    const std::string lk = axis("Lk"), temp0 = axis("Temp0");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--seed", "1", "--seed=2"}, "option --seed is given twice"},
        {{"--algorithm", "steepest"}, "option --algorithm is given twice"},
        {{"--runs", "2", "--runs", "2"}, "option --runs is given twice"},
        {{"--format", "runs", "--format=long"}, "option --format is given twice"},
        {{"--jobs", "1", "--jobs", "2"}, "option --jobs is given twice"},
        {{"--no-header", "--no-header"}, "option --no-header is given twice"},
        {{"--max-seconds", "1e10"},
         "--max-seconds needs a number above 0 and at most 31536000 (a year), not '1e10'"},
        {{"--grid", lk, "--grid", temp0, "--grid", "TempPlus=0,1,2,3,4,5,6,7,8,9,10"},
         "--grid makes more than 100000 settings series; run it in parts"},
        {{"--grid", lk, "--grid", temp0, "--grid", "TempPlus=0,1,2,3,4,5,6,7,8,9", "q.txt"},
         "--grid makes more than 100000 settings series; run it in parts"},
        {{"--out", "o.txt", "q.txt"}, "--out saves the run of one problem file, not of 2"},
        {{"--set", "Alfa=0.5", "--set=Alfa=0.5"}, "--set Alfa is given twice"},
        {{"--grid", "Lk=1,2", "--set", "Lk=3"}, "--set Lk and --grid Lk both give the setting"},
        {{"--grid", "Alfa=0.1,0.5,0.10,1e-1"},
         "--grid Alfa lists one value twice ('0.1' and '0.10')"},
        {{"--grid", "Lk=5,05"}, "--grid Lk lists one value twice ('5' and '05')"},
        {{"--seed", "4294967295", "--runs", "3"},
         "--seed 4294967295 with --runs 3 would pass the last seed 4294967295"},
    };
    for (const auto& [extra, message] : cases) {
        std::vector<std::string> args = {"--algorithm", "greedy"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back("p.txt");
        EXPECT_EQ(ParseError(args), message) << extra[0];
    }
    // Exactly at the limits is taken.
    EXPECT_EQ(ParseError({"--algorithm=greedy", "--seed=4294967293", "--runs=3", "p.txt"}),
              "no error");
    EXPECT_EQ(ParseError({"--algorithm=greedy", "--max-seconds=31536000", "--grid", lk, "--grid",
                          temp0, "--grid", "TempPlus=0,1,2,3,4,5,6,7,8,9", "p.txt"}),
              "no error");
    EXPECT_EQ(ParseError({"--algorithm=greedy", "p.txt", "--format", "ioh"}),
              "--format ioh needs a folder");
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
    const std::vector<float> bests = {3.0f, 1.0f, 2.0f, 10.0f};
    RunStatistics s = Statistics(bests, false);
    EXPECT_EQ(s.Best, 1.0);
    EXPECT_EQ(s.Median, 2.5);  // of 1, 2, 3, 10
    EXPECT_EQ(s.Worst, 10.0);
    EXPECT_EQ(s.Mean, 4.0);
    // Sample deviation: squares 1 + 9 + 4 + 36 over 3.
    EXPECT_DOUBLE_EQ(*s.Deviation, std::sqrt(50.0 / 3.0));

    s = Statistics(bests, true);
    EXPECT_EQ(s.Best, 10.0);
    EXPECT_EQ(s.Median, 2.5);
    EXPECT_EQ(s.Worst, 1.0);

    // Not a number counts as the worst either way.
    s = Statistics({std::nanf(""), 5.0f, 4.0f}, true);
    EXPECT_EQ(s.Best, 5.0);
    EXPECT_EQ(s.Median, 4.0);
    EXPECT_TRUE(std::isnan(*s.Worst));
    EXPECT_TRUE(std::isnan(*s.Mean));

    // The middle two are summed in double: in single precision these two would overflow.
    EXPECT_EQ(Statistics({3e38f, 3e38f}, true).Median, double{3e38f});

    s = Statistics({7.0f}, true);
    EXPECT_EQ(s.Mean, 7.0);
    EXPECT_FALSE(s.Deviation.has_value());
    EXPECT_FALSE(Statistics({}, true).Best.has_value());
}

TEST(BatchStatistics, TargetShareAndExpectedRunningTime) {
    SeriesSummary summary("greedy,,p.txt");
    // Reached after 10 of 50 evaluations, never in 40, after 30 of 100; one run without a path.
    summary.Add(WithBest(1.0f, 50, 10));
    summary.Add(WithBest(9.0f, 40, std::nullopt));
    summary.Add(WithBest(2.0f, 100, 30));
    summary.Add(WithBest(std::nullopt, 6, std::nullopt));
    // (10 + 40 + 30 + 6) / 2 reaching it; best, median, worst, mean and sd of 1, 9, 2.
    // sqrt(19) at float precision; a missing number is empty.
    // Then the rank given and the bootstrap interval of those runs.
    const std::optional<ErtInterval> band =
        BootstrapErt({{true, 10}, {false, 40}, {true, 30}, {false, 6}});
    EXPECT_EQ(summary.Row(false, 2.0, 3), "greedy,,p.txt,4,1,2,9,4,4.358899,0,2,0.5,43,3," +
                                              DoubleText(band->Low) + "," + DoubleText(band->High) +
                                              "\n");
    EXPECT_EQ(SeriesSummary::Header(true), SeriesHeader() +
                                               ",runs,best,median,worst,mean,sd,seconds,target,"
                                               "reached,ert,rank,ert_lo,ert_hi\n");

    SeriesSummary none("greedy,,p.txt");
    none.Add(WithBest(9.0f, 40, std::nullopt));
    EXPECT_EQ(none.Row(false, 2.0, 1), "greedy,,p.txt,1,9,9,9,9,,0,2,0,,1,,\n");
    EXPECT_EQ(none.Row(false, std::nullopt, 1), "greedy,,p.txt,1,9,9,9,9,,0,1\n");
    // Every statistic of the bests prints at their precision, the float nearest it: a mean of
    // 0.1, 0.2 and 0.4 is 0.23333333681027094 in double; a deviation past the float's range
    // (that of -3e38 and 3e38, 4.24e38) prints as its double.
    SeriesSummary three("s");
    for (float best : {0.1f, 0.2f, 0.4f}) three.Add(WithBest(best));
    EXPECT_EQ(three.Row(false, std::nullopt, std::nullopt),
              "s,3,0.1,0.2,0.4,0.23333333,0.15275252,0,\n");
    SeriesSummary wide("s");
    for (float best : {-3e38f, 3e38f}) wide.Add(WithBest(best));
    EXPECT_EQ(wide.Row(false, std::nullopt, std::nullopt),
              "s,2,-3e+38,0,3e+38,0," + DoubleText(*Statistics({-3e38f, 3e38f}, false).Deviation) +
                  ",0,\n");
}

TEST(BatchTarget, ReachedWhenAtLeastAsGoodInTheProblemsDirection) {
    EXPECT_TRUE(Reaches(2.0, 2.0, false));
    EXPECT_TRUE(Reaches(1.0, 2.0, false));
    EXPECT_FALSE(Reaches(3.0, 2.0, false));
    EXPECT_TRUE(Reaches(3.0, 2.0, true));
    EXPECT_FALSE(Reaches(1.0, 2.0, true));
    EXPECT_FALSE(Reaches(std::nan(""), 2.0, true));
    EXPECT_FALSE(Reaches(std::nan(""), 2.0, false));
}

TEST(BatchGrid, EveryCombinationWithTheFirstAxisSlowest) {
    const auto combos = GridCombinations({{"Alfa", {"0.5", "0.9"}}, {"Lk", {"1", "2", "3"}}});
    ASSERT_EQ(combos.size(), 6u);
    std::vector<std::string> seen;
    for (const auto& c : combos) {
        ASSERT_EQ(c.size(), 2u);
        seen.push_back(c[0].Name + "=" + c[0].Value + ";" + c[1].Name + "=" + c[1].Value);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Alfa=0.5;Lk=1", "Alfa=0.5;Lk=2", "Alfa=0.5;Lk=3",
                                              "Alfa=0.9;Lk=1", "Alfa=0.9;Lk=2", "Alfa=0.9;Lk=3"}));
    EXPECT_EQ(GridCombinations({}).size(), 1u);
    EXPECT_TRUE(GridCombinations({}).front().empty());
}

TEST(BatchSettings, TheSettingsTextNamesWhatDiffersFromTheStart) {
    AlgParameters p;
    StartSettings(p);
    EXPECT_EQ(ChangedSettingsText(p), "");  // the delays do not count
    ApplySetting({"Alfa", "0.9"}, p);
    ApplySetting({"PopSize", "20"}, p);
    ApplySetting({"A", "0.05"}, p);  // the start value
    ApplySetting({"MutA", "0.02"}, p);
    // The table's order, and the shortest text of the stored single-precision value.
    EXPECT_EQ(ChangedSettingsText(p), "Alfa=0.9;PopSize=20;MutA=0.02");
}

// Each algorithm's text names only what it reads: the tournament size only under tournament
// selection, the arithmetic ratio only under arithmetic crossover.
TEST(BatchSettings, EachAlgorithmsTextNamesOnlyTheSettingsItReads) {
    AlgParameters p;
    StartSettings(p);
    for (const SettingAssignment& s : std::vector<SettingAssignment>{
             {"A", "0.1"}, {"Lk", "3"}, {"PopSize", "20"}, {"TournamentSize", "7"}, {"COA", "0.5"}})
        ApplySetting(s, p);
    const struct {
        AlgorithmKind kind;
        int selection, crossover;
        const char* text;
    } cases[] = {
        {Greedy, 0, 2, "A=0.1"},
        {Steepest, 0, 2, "A=0.1"},
        {SimulatedAnnealing, 0, 2, "A=0.1;Lk=3"},
        {Genetic, 0, 2, "PopSize=20;TournamentSize=7;COA=0.5"},
        {Genetic, 1, 0, "PopSize=20;SelectionType=1;CrossoverType=0"},
    };
    for (const auto& c : cases) {
        p.SelectionType = c.selection;
        p.CrossoverType = c.crossover;
        EXPECT_EQ(ChangedSettingsText(p, c.kind), c.text) << AlgorithmName(c.kind);
    }
}

// A runs table read back groups its rows by series (a quoted path with a comma is one field)
// and summarises each as the summary format does.
TEST(BatchSummarize, GroupsRowsBySeriesAndSummarisesThemAlike) {
    const std::string head =
        "problem,function,direction,dimension,algorithm,A,Temp0,TempPlus,"
        "PercentAc,Lk,Alfa,Stop,PopSize,Iterations,TournamentSize,COProbab,"
        "COA,MProbab,MutA,SelectionType,CrossoverType,";
    const std::string settings = ",greedy,0.05,100,15,95,8,0.96,0.6,500,200,5,30,0.6,40,0.01,0,2,";
    const std::string a = "\"a,\"\"b\"\".txt\",f,max,1" + settings;
    const std::string b = "b.txt,\"g\nh\",min,2" + settings;
    std::istringstream table(head + "seed,best,evaluations,solutions,seconds,ended," +
                             "evaluations_to_target\n" + a + "1,2,10,3,0.5,finished,4\n" + b +
                             "1,7,20,1,0.25,finished,\n" + a + "2,1,30,2,0.5,finished,\n");
    // a: bests 2 and 1 (maximising: best 2), 10 + 30 evaluations over 1 reaching 2; b: one run.
    // Each the only series of its problem, so first.
    const std::optional<ErtInterval> band = BootstrapErt({{true, 4}, {false, 30}});
    EXPECT_EQ(SummarizeRuns(table, 2.0, false),
              a + "2,2,1.5,1,1.5,0.70710677,1,2,0.5,34,1," + DoubleText(band->Low) + "," +
                  DoubleText(band->High) + "\n" + b + "1,7,7,7,7,,0.25,2,0,,1,,\n");
    std::istringstream bad(head + "seed,best,evaluations,solutions,seconds,ended\n" + a +
                           "1,x,10,3,0.5,finished\n");
    EXPECT_THROW(SummarizeRuns(bad, std::nullopt, true), BatchInputError);
}

// The target asked for decides "reached" from each run's best value; the evaluations to a
// target the runs were not made with are not in the runs table, so such a target is refused.
TEST(BatchSummarize, TheTargetAskedForDecidesReached) {
    const std::string head =
        "problem,function,direction,dimension,algorithm,seed,best,evaluations,"
        "solutions,seconds,ended,evaluations_to_target,gap,undefined";
    const std::string runs = "p.txt,f,max,1,greedy,1,2,10,3,0.5,finished,4,,0";
    const std::string other = "p.txt,f,max,1,greedy,2,1,30,2,0.5,finished,,,0";
    const std::string left = "p.txt,f,max,1,greedy,2,2,1.5,1,1.5,0.70710677,1,";
    // {with the target column, the target asked for, the summary's target fields, rank and
    // bootstrap interval, or "refused"}; a resample of the two runs reaches only where it
    // draws the first one, so the interval runs from its 4 evaluations to none reaching.
    // No target asked for (--target optimum) takes the runs' own from the target column.
    const struct {
        bool column;
        std::optional<double> target;
        std::string says;
    } cases[] = {
        {true, 2, "2,0.5,34,1,4,inf"},
        {false, 2, "2,0.5,34,1,4,inf"},
        {true, 5, "5,0,,1,,"},
        {false, 5, "5,0,,1,,"},
        {true, 1.5, "refused"},
        {true, 0.5, "refused"},
        {true, std::nullopt, "2,0.5,34,1,4,inf"},
        {false, std::nullopt, "refused"},
    };
    for (const auto& c : cases) {
        const std::string tail = c.column ? ",2\n" : "\n";
        std::istringstream table(head + (c.column ? ",target\n" : "\n") + runs + tail + other +
                                 tail);
        std::string got;
        try {
            got = SummarizeRuns(table, c.target, false, false, !c.target);
        } catch (const BatchInputError& e) {
            const std::string why = e.what();
            got = why.find("the runs were made with --target 2") != std::string::npos ||
                          why.find("lacks") != std::string::npos
                      ? "refused"
                      : e.what();
        }
        EXPECT_EQ(got, c.says == "refused" ? c.says : left + c.says + "\n")
            << c.column << " " << c.target.value_or(-1);
    }
}

// --reads lists the settings a run of the algorithm reads with some choice of the others (the
// genetic algorithm's tournament size also when roulette is chosen), and never a delay.
TEST(BatchReads, ListsWhatARunReadsWithSomeChoice) {
    for (std::size_t k = 0; k < kAlgorithmCount; ++k) {
        std::string read;  // in the table's order, over every selection and crossover type
        for (std::size_t i = 0; i < kSettingCount; ++i) {
            bool any = false;
            for (int choice = 0; choice < 6; ++choice) {
                AlgParameters p;
                StartSettings(p);
                p.SelectionType = choice % 2;
                p.CrossoverType = choice / 2;
                any = any || SettingUsedBy(kSettings[i], KindAt(k), p);
            }
            if (any) read += std::string(kSettings[i].Name) + "\n";
        }
        EXPECT_EQ(SettingsReadBy(KindAt(k)), read) << AlgorithmName(KindAt(k));
    }
    EXPECT_EQ(SettingsReadBy(Greedy), "A\n");
}
