// The batch runner end to end: the executable itself on data files written for each case.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/DataFile.h"

using namespace quarmel;
namespace fs = std::filesystem;

namespace {

struct Outcome {
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::vector<std::string> Split(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, by)) parts.push_back(part);
    return parts;
}

// The value of `key=` in a summary line.
std::string Field(const std::string& line, const std::string& key) {
    const std::size_t at = line.find(" " + key + "=");
    if (at == std::string::npos) return "";
    const std::size_t from = at + key.size() + 2;
    return line.substr(from, line.find_first_of(" \n", from) - from);
}

class BatchRunner : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quarmel-batch-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        // The start-up problem, a bound that the table rounds, and a variable the formula
        // does not use.
        DataFileContents c;
        c.FunctionName = "Example 1";
        c.Formula = "x^2 + ( y - 2 ) ^ 2 + 3 * c ";
        c.Variables = {
            {"x", -50.123456f, 50, 0}, {"y", -40, 40, 6}, {"unused", 0, 1, 0}, {"c", 1, 15, 5}};
        c.Solutions.Append(Solution{{1, 2, 0, 3}, 10});
        problem = Write("problem.txt", c);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    std::string Write(const std::string& name, const DataFileContents& c) {
        const fs::path p = dir / name;
        std::ofstream(p, std::ios::binary) << DataFileText(c);
        return p.string();
    }

    Outcome Run(const std::string& args, int seconds = 60) {
        const fs::path out = dir / "stdout", err = dir / "stderr";
        // A run that does not end is killed (status 137) rather than holding the tests up.
        const std::string command = "timeout -s KILL " + std::to_string(seconds) + " " +
                                    std::string(QUARMEL_BATCH_EXE) + " " + args + " >" +
                                    out.string() + " 2>" + err.string();
        const int rc = std::system(command.c_str());
        Outcome o;
        o.Status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
        o.Out = Slurp(out);
        o.Err = Slurp(err);
        return o;
    }

    // Refused as bad input: status 2, one line of explanation, nothing on standard output.
    void ExpectRefused(const std::string& args, const std::string& part) {
        const Outcome o = Run(args);
        EXPECT_EQ(o.Status, 2) << args;
        EXPECT_EQ(o.Out, "") << args;
        EXPECT_EQ(o.Err.rfind("quarmel-batch: ", 0), 0u) << o.Err;
        EXPECT_EQ(std::count(o.Err.begin(), o.Err.end(), '\n'), 1) << o.Err;
        EXPECT_NE(o.Err.find(part), std::string::npos) << o.Err;
    }

    fs::path dir;
    std::string problem;
};

// The rows of a CSV block as numbers, checking the header and the width of every row.
std::vector<std::vector<double>> Rows(const std::string& block, const std::string& header) {
    std::vector<std::string> lines = Split(block, '\n');
    EXPECT_FALSE(lines.empty());
    if (lines.empty()) return {};
    EXPECT_EQ(lines[0], header);
    const std::size_t width = Split(header, ',').size();
    std::vector<std::vector<double>> rows;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<double> row;
        for (const std::string& f : Split(lines[i], ',')) row.push_back(std::stod(f));
        EXPECT_EQ(row.size(), width) << lines[i];
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST_F(BatchRunner, GreedyPrintsItsPathAsCsvAndASummaryLine) {
    const Outcome o = Run("--algorithm greedy --seed 7 " + problem);
    ASSERT_EQ(o.Status, 0) << o.Err;
    const auto rows = Rows(o.Out, "x,y,c,F");
    ASSERT_FALSE(rows.empty());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        // The table's 4 digits: -50.123456 became -50.12.
        EXPECT_GE(r[0], -50.12 - 1e-4);
        EXPECT_LE(r[0], 50.0);
        EXPECT_NEAR(r[3], r[0] * r[0] + (r[1] - 2) * (r[1] - 2) + 3 * r[2], 1e-3 * (1 + r[3]));
        // Every step improves strictly.
        if (i > 0) {
            EXPECT_LT(r[3], rows[i - 1][3]);
        }
    }
    ASSERT_EQ(std::count(o.Err.begin(), o.Err.end(), '\n'), 1) << o.Err;
    EXPECT_EQ(o.Err.rfind("algorithm=greedy seed=7 ", 0), 0u) << o.Err;
    EXPECT_EQ(Field(o.Err, "solutions"), std::to_string(rows.size()));
    EXPECT_GE(std::stoull(Field(o.Err, "evaluations")), rows.size());
    EXPECT_EQ(Field(o.Err, "best"), Split(Split(o.Out, '\n').back(), ',').back());
    EXPECT_FALSE(Field(o.Err, "seconds").empty());
}

TEST_F(BatchRunner, TheSameSeedGivesTheSameRunAndTheClockSeedIsPrinted) {
    const Outcome a = Run("--algorithm steepest --seed 12345 " + problem);
    const Outcome b = Run("--algorithm steepest --seed 12345 " + problem);
    ASSERT_EQ(a.Status, 0) << a.Err;
    EXPECT_EQ(a.Out, b.Out);
    const auto rows = Rows(a.Out, "x,y,c,F");
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i][3], rows[i - 1][3]);

    const Outcome clock = Run("--algorithm greedy " + problem);
    ASSERT_EQ(clock.Status, 0) << clock.Err;
    const std::string seed = Field(clock.Err, "seed");
    ASSERT_FALSE(seed.empty()) << clock.Err;
    EXPECT_EQ(Run("--algorithm greedy --seed " + seed + " " + problem).Out, clock.Out);
}

TEST_F(BatchRunner, AnnealingRunsWithSettings) {
    const Outcome o = Run("--algorithm annealing --seed 3 --set Lk=1 --set Alfa=0.5 " + problem);
    ASSERT_EQ(o.Status, 0) << o.Err;
    EXPECT_FALSE(Rows(o.Out, "x,y,c,F").empty());
    EXPECT_EQ(o.Err.rfind("algorithm=annealing seed=3 ", 0), 0u) << o.Err;
}

TEST_F(BatchRunner, GeneticPrintsItsHistoryThenThePopulation) {
    const Outcome o =
        Run("--algorithm genetic --seed 5 --set Iterations=5 --set PopSize=20 "
            "--population " +
            problem);
    ASSERT_EQ(o.Status, 0) << o.Err;
    const std::size_t gap = o.Out.find("\n\n");
    ASSERT_NE(gap, std::string::npos) << o.Out;
    const auto history = Rows(o.Out.substr(0, gap + 1), "x,y,c,F");
    // One entry per generation, never worse than the one before.
    ASSERT_EQ(history.size(), 5u);
    for (std::size_t i = 1; i < history.size(); ++i) EXPECT_LE(history[i][3], history[i - 1][3]);
    const auto population = Rows(o.Out.substr(gap + 2), "x,y,c,F");
    EXPECT_GE(population.size(), 15u);
    EXPECT_LE(population.size(), 20u);
    EXPECT_EQ(Field(o.Err, "solutions"), "5");
}

TEST_F(BatchRunner, RunsPrintASummaryTableWithConsecutiveSeeds) {
    const Outcome o = Run("--algorithm greedy --seed 10 --runs 3 " + problem);
    ASSERT_EQ(o.Status, 0) << o.Err;
    const std::vector<std::string> lines = Split(o.Out, '\n');
    ASSERT_EQ(lines.size(), 7u) << o.Out;
    EXPECT_EQ(lines[0], "algorithm,settings,problem,seed,best,solutions,evaluations,ended");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "algorithm,settings,problem,runs,best,median,worst,mean,sd,seconds");
    std::vector<double> bests;
    for (int k = 0; k < 3; ++k) {
        const std::vector<std::string> f = Split(lines[1 + k], ',');
        ASSERT_EQ(f.size(), 8u);
        EXPECT_EQ(f[0] + f[1] + f[2], "greedyproblem.txt");
        EXPECT_EQ(f[3], std::to_string(10 + k));
        EXPECT_EQ(f[7], "finished");
        bests.push_back(std::stod(f[4]));
        // The same run alone reports the same best value and counts.
        const Outcome single = Run("--algorithm greedy --seed " + f[3] + " " + problem);
        EXPECT_EQ(Field(single.Err, "best"), f[4]);
        EXPECT_EQ(Field(single.Err, "solutions"), f[5]);
        EXPECT_EQ(Field(single.Err, "evaluations"), f[6]);
    }
    std::sort(bests.begin(), bests.end());
    const std::vector<std::string> s = Split(lines[6], ',');
    ASSERT_EQ(s.size(), 10u);
    EXPECT_EQ(s[3], "3");
    EXPECT_EQ(std::stod(s[4]), bests[0]);
    EXPECT_EQ(std::stod(s[5]), bests[1]);
    EXPECT_EQ(std::stod(s[6]), bests[2]);
    EXPECT_NEAR(std::stod(s[7]), (bests[0] + bests[1] + bests[2]) / 3, 1e-6 * bests[2]);
    EXPECT_EQ(o.Err.rfind("algorithm=greedy seed=10 runs=3 ", 0), 0u) << o.Err;
}

TEST_F(BatchRunner, AnyNumberOfJobsGivesTheSameOutput) {
    for (const char* format : {"runs", "long"}) {
        const std::string args = std::string("--algorithm genetic --seed 40 --runs 7 --format ") +
                                 format + " --set PopSize=30 --set Iterations=15 " + problem;
        const Outcome one = Run("--jobs 1 " + args);
        const Outcome two = Run("--jobs 2 " + args);
        const Outcome three = Run("--jobs 3 " + args);
        ASSERT_EQ(one.Status, 0) << one.Err;
        EXPECT_EQ(Split(one.Out, '\n').size(), format == std::string("runs") ? 8u : 1u + 7 * 15);
        EXPECT_EQ(two.Out, one.Out);
        EXPECT_EQ(three.Out, one.Out);
        EXPECT_EQ(Field(two.Err, "evaluations"), Field(one.Err, "evaluations"));
    }
}

TEST_F(BatchRunner, ABudgetEndsARunThatWouldNeverEnd) {
    DataFileContents c;
    c.FunctionName = "power";
    c.Formula = "x^100";
    c.Variables = {{"x", 2, 10, 5}};
    const Outcome o = Run("--algorithm annealing --set Alfa=1 --max-evaluations 5000 --runs 2 " +
                          Write("power.txt", c));
    ASSERT_EQ(o.Status, 0) << o.Err;
    const std::vector<std::string> lines = Split(o.Out, '\n');
    ASSERT_GE(lines.size(), 3u);
    for (int k : {1, 2}) {
        const std::vector<std::string> f = Split(lines[k], ',');
        ASSERT_EQ(f.size(), 8u) << lines[k];
        EXPECT_EQ(f[1], "Alfa=1");
        EXPECT_EQ(f[7], "stopped-by-budget");
    }
    EXPECT_NE(o.Err.find("2 of 2 runs stopped by the budget of 5000 evaluations"),
              std::string::npos)
        << o.Err;
}

TEST_F(BatchRunner, ShardsWithoutHeadersJoinIntoTheWholeSweep) {
    for (const char* format : {"runs", "long"}) {
        const std::string args =
            std::string("--algorithm steepest --format ") + format + " --grid A=0.01,0.1 ";
        const Outcome whole = Run(args + "--seed 5 --runs 4 " + problem);
        // The same seeds in two shards, a setting at a time.
        std::string joined;
        bool first = true;
        for (const char* a : {"0.01", "0.1"}) {
            for (const char* range : {"--seed 5 --runs 2 ", "--seed 7 --runs 2 "}) {
                const Outcome shard =
                    Run(std::string("--algorithm steepest --format ") + format + " --grid A=" + a +
                        " " + range + (first ? "" : "--no-header ") + problem);
                ASSERT_EQ(shard.Status, 0) << shard.Err;
                joined += shard.Out;
                first = false;
            }
        }
        ASSERT_EQ(whole.Status, 0) << whole.Err;
        EXPECT_EQ(joined, whole.Out) << format;
        if (format == std::string("long")) {
            EXPECT_EQ(Split(whole.Out, '\n')[0],
                      "algorithm,settings,problem,seed,step,evaluations,value,best_so_far");
        }
    }
}

TEST_F(BatchRunner, AGridRunsEveryCombinationOverTheSameSeeds) {
    const Outcome o = Run(
        "--algorithm annealing --seed 3 --runs 2 --grid Alfa=0.5,0.8 --grid Lk=1,2 --target 20 " +
        problem);
    ASSERT_EQ(o.Status, 0) << o.Err;
    const std::vector<std::string> lines = Split(o.Out, '\n');
    ASSERT_EQ(lines.size(), 1u + 8 + 1 + 1 + 4) << o.Out;
    const std::vector<std::string> settings = {"Lk=1;Alfa=0.5", "Lk=2;Alfa=0.5", "Lk=1;Alfa=0.8",
                                               "Lk=2;Alfa=0.8"};
    for (std::size_t i = 0; i < 8; ++i) {
        const std::vector<std::string> f = Split(lines[1 + i], ',');
        ASSERT_EQ(f.size(), 9u) << lines[1 + i];
        EXPECT_EQ(f[1], settings[i / 2]);
        EXPECT_EQ(f[3], std::to_string(3 + i % 2));
        // Each combination alone gives the same row.
        const std::string set = "--set " + Split(f[1], ';')[0] + " --set " + Split(f[1], ';')[1];
        const Outcome alone =
            Run("--algorithm annealing --seed " + f[3] + " " + set + " " + problem);
        EXPECT_EQ(Field(alone.Err, "best"), f[4]);
    }
    EXPECT_EQ(lines[9], "");
    for (std::size_t i = 0; i < 4; ++i) {
        const std::vector<std::string> f = Split(lines[11 + i], ',');
        ASSERT_EQ(f.size(), 13u) << lines[11 + i];
        EXPECT_EQ(f[1], settings[i]);
        EXPECT_EQ(f[3], "2");
    }
}

TEST_F(BatchRunner, OutWritesAFileTheWindowCanOpen) {
    const std::string out = (dir / "result.txt").string();
    const Outcome o = Run("--algorithm greedy --seed 9 --out " + out + " " + problem);
    ASSERT_EQ(o.Status, 0) << o.Err;
    const auto rows = Rows(o.Out, "x,y,c,F");
    const DataFileReading r = ReadDataFile(out);
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(r.FunctionName, "Example 1 ");
    EXPECT_EQ(r.Formula, "x^2+(y-2)^2+3*c");
    EXPECT_EQ(r.Maximize, false);
    ASSERT_EQ(r.Variables.size(), 3u);
    EXPECT_EQ(r.Variables[0].Min, -50.12f);
    EXPECT_EQ(r.Variables[2].Name, "c");
    ASSERT_EQ(r.Solutions.Count(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_NEAR(r.Solutions.At(i).Value, rows[i][3], 1e-5 * (1 + std::fabs(rows[i][3])));
    }
}

// sin(exp(t)) is not a number above t = 709.78. The local searches end by themselves on it;
// the time limit makes a search that publishes for ever fail in seconds.
TEST_F(BatchRunner, LocalSearchesEndOnAFormulaUndefinedInPartOfItsRange) {
    DataFileContents c;
    c.Formula = "sin(exp(t))";
    c.Maximize = true;
    c.Variables = {{"t", 705, 712, 708}};
    const std::string file = Write("undefined.txt", c);
    for (const char* algorithm : {"greedy", "steepest"}) {
        const Outcome o =
            Run(std::string("--algorithm ") + algorithm + " --seed 1 --runs 20 " + file, 10);
        ASSERT_EQ(o.Status, 0) << algorithm << ": " << o.Err;
        const std::vector<std::string> lines = Split(o.Out, '\n');
        ASSERT_EQ(lines.size(), 24u) << o.Out;
        // The best of the runs is a number.
        const double best = std::stod(Split(lines[23], ',')[4]);
        EXPECT_LE(best, 1.0);
        EXPECT_GT(best, -1.0);
    }
}

TEST_F(BatchRunner, BadInputIsRefusedWithStatusTwoAndNothingWritten) {
    const std::string out = (dir / "never.txt").string();
    const std::string tail = " --out " + out + " ";
    ExpectRefused("--algorithm greedy --turbo" + tail + problem, "unknown option '--turbo'");
    ExpectRefused("--algorithm greedy --set Temp0=300" + tail + problem, "Temp0");
    ExpectRefused("--algorithm greedy --set Speed=1" + tail + problem, "unknown setting 'Speed'");
    ExpectRefused("--algorithm greedy --jobs 0" + tail + problem, "--jobs");
    ExpectRefused("--algorithm greedy --max-evaluations 0" + tail + problem, "--max-evaluations");
    ExpectRefused("--algorithm greedy --max-seconds -2" + tail + problem, "--max-seconds");
    ExpectRefused("--algorithm greedy --grid Temp0=10,300" + tail + problem, "Temp0");
    ExpectRefused("--algorithm greedy" + tail + (dir / "none.txt").string(), "none.txt");
    ExpectRefused("--algorithm greedy" + tail + "-", "not standard input");

    std::ofstream(dir / "other.txt") << "# data file for another program\n";
    ExpectRefused("--algorithm greedy" + tail + (dir / "other.txt").string(),
                  "Wrong file format !");

    DataFileContents c;
    c.Formula = "x+*2";
    c.Variables = {{"x", 0, 1, 0}};
    ExpectRefused("--algorithm greedy" + tail + Write("bad.txt", c),
                  "Bląd w funkcji. Kolumna: 2 : ");

    c.Formula = "x";
    c.Variables = {{"x", 5, 5, 5}};
    ExpectRefused("--algorithm genetic" + tail + Write("flat.txt", c),
                  "The maximum of variable x must be greater than its minimum.");

    ExpectRefused("--algorithm greedy --out " + (dir / "no" / "r.txt").string() + " " + problem,
                  "no folder");
    EXPECT_FALSE(fs::exists(out));
}
