// The batch runner end to end: the executable itself on data files written for each case.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/datafile/DataFile.h"

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

// A column of a table by its header name (no field here holds a quoted comma).
std::vector<std::string> Column(const std::string& table, const std::string& name) {
    const std::vector<std::string> lines = Split(table, '\n');
    std::vector<std::string> column;
    if (lines.empty()) return column;
    const std::vector<std::string> header = Split(lines[0], ',');
    const auto at = std::find(header.begin(), header.end(), name) - header.begin();
    EXPECT_LT(static_cast<std::size_t>(at), header.size()) << name;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> f = Split(lines[i], ',');
        if (lines[i].back() == ',') f.emplace_back();  // an empty last field
        EXPECT_EQ(f.size(), header.size()) << lines[i];
        column.push_back(static_cast<std::size_t>(at) < f.size() ? f[at] : "");
    }
    return column;
}

// The table without its seconds column: the processor time is the one field that differs
// between two makings of the same runs.
std::string WithoutSeconds(const std::string& table) {
    const std::vector<std::string> lines = Split(table, '\n');
    const std::vector<std::string> header = Split(lines.at(0), ',');
    const auto at = std::find(header.begin(), header.end(), "seconds") - header.begin();
    std::string out;
    for (const std::string& line : lines) {
        std::vector<std::string> f = Split(line, ',');
        if (static_cast<std::size_t>(at) < f.size()) f.erase(f.begin() + at);
        for (std::size_t i = 0; i < f.size(); ++i) out += (i ? "," : "") + f[i];
        out += "\n";
    }
    return out;
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
    // One table: the history's rows marked 0, then the population's marked 1.
    const auto rows = Rows(o.Out, "x,y,c,F,population");
    std::vector<std::vector<double>> history, population;
    for (const auto& r : rows) (r[4] == 0 ? history : population).push_back(r);
    ASSERT_EQ(history.size(), 5u);
    EXPECT_EQ(rows[4][4], 0);  // the history comes first
    // One entry per generation, never worse than the one before.
    for (std::size_t i = 1; i < history.size(); ++i) EXPECT_LE(history[i][3], history[i - 1][3]);
    EXPECT_GE(population.size(), 15u);
    EXPECT_LE(population.size(), 20u);
    EXPECT_EQ(Field(o.Err, "solutions"), "5");
}

TEST_F(BatchRunner, RunsPrintARunsTableAndTheSummaryIsItsOwnFormat) {
    const Outcome o = Run("--algorithm greedy --seed 10 --runs 3 " + problem);
    ASSERT_EQ(o.Status, 0) << o.Err;
    ASSERT_EQ(Split(o.Out, '\n').size(), 4u) << o.Out;
    EXPECT_EQ(Column(o.Out, "problem"), std::vector<std::string>(3, problem));
    EXPECT_EQ(Column(o.Out, "direction"), std::vector<std::string>(3, "min"));
    EXPECT_EQ(Column(o.Out, "dimension"), std::vector<std::string>(3, "3"));
    EXPECT_EQ(Column(o.Out, "Alfa"), std::vector<std::string>(3, "0.96"));
    EXPECT_EQ(Column(o.Out, "ended"), std::vector<std::string>(3, "finished"));
    const std::vector<std::string> best = Column(o.Out, "best");
    std::vector<double> bests;
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(Column(o.Out, "seed")[k], std::to_string(10 + k));
        bests.push_back(std::stod(best[k]));
        // The same run alone reports the same best value and counts.
        const Outcome single =
            Run("--algorithm greedy --seed " + std::to_string(10 + k) + " " + problem);
        EXPECT_EQ(Field(single.Err, "best"), best[k]);
        EXPECT_EQ(Field(single.Err, "solutions"), Column(o.Out, "solutions")[k]);
        EXPECT_EQ(Field(single.Err, "evaluations"), Column(o.Out, "evaluations")[k]);
    }
    std::sort(bests.begin(), bests.end());
    const Outcome summary =
        Run("--algorithm greedy --seed 10 --runs 3 --format summary " + problem);
    ASSERT_EQ(summary.Status, 0) << summary.Err;
    ASSERT_EQ(Split(summary.Out, '\n').size(), 2u) << summary.Out;
    EXPECT_EQ(Column(summary.Out, "runs")[0], "3");
    EXPECT_EQ(std::stod(Column(summary.Out, "best")[0]), bests[0]);
    EXPECT_EQ(std::stod(Column(summary.Out, "median")[0]), bests[1]);
    EXPECT_EQ(std::stod(Column(summary.Out, "worst")[0]), bests[2]);
    EXPECT_NEAR(std::stod(Column(summary.Out, "mean")[0]), (bests[0] + bests[1] + bests[2]) / 3,
                1e-6 * bests[2]);
    EXPECT_EQ(o.Err.rfind("algorithm=greedy seed=10 runs=3 ", 0), 0u) << o.Err;
}

TEST_F(BatchRunner, AnyNumberOfJobsGivesTheSameOutput) {
    // An algorithm of the window's own and one of pagmo2's, each 15 generations.
    const char* const algorithms[] = {"genetic --set PopSize=30 --set Iterations=15",
                                      "cmaes --set CmaPopSize=10 --set CmaGenerations=15"};
    for (const char* algorithm : algorithms) {
        for (const char* format : {"runs", "long"}) {
            const std::string args = std::string("--algorithm ") + algorithm +
                                     " --seed 40 --runs 7 --format " + format + " " + problem;
            const Outcome one = Run("--jobs 1 " + args);
            const Outcome two = Run("--jobs 2 " + args);
            const Outcome three = Run("--jobs 3 " + args);
            ASSERT_EQ(one.Status, 0) << one.Err;
            EXPECT_EQ(Split(one.Out, '\n').size(),
                      format == std::string("runs") ? 8u : 1u + 7 * 15);
            EXPECT_EQ(WithoutSeconds(two.Out), WithoutSeconds(one.Out));
            EXPECT_EQ(WithoutSeconds(three.Out), WithoutSeconds(one.Out));
            EXPECT_EQ(Field(two.Err, "evaluations"), Field(one.Err, "evaluations"));
        }
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
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Column(o.Out, "Alfa"), std::vector<std::string>(2, "1"));
    EXPECT_EQ(Column(o.Out, "ended"), std::vector<std::string>(2, "stopped-by-budget"));
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
        if (format == std::string("long")) {
            EXPECT_EQ(joined, whole.Out);
        } else {
            EXPECT_EQ(WithoutSeconds(joined), WithoutSeconds(whole.Out));
        }
    }
}

TEST_F(BatchRunner, AGridRunsEveryCombinationOverTheSameSeedsProblemByProblem) {
    const std::string second = Write("second.txt", [] {
        DataFileContents c;
        c.FunctionName = "line";
        c.Formula = "x";
        c.Maximize = true;
        c.Variables = {{"x", 0, 1, 0}};
        return c;
    }());
    const Outcome o = Run(
        "--algorithm annealing --seed 3 --runs 2 --grid Alfa=0.5,0.96 --grid Lk=1,2 --target 20 " +
        problem + " " + second);
    ASSERT_EQ(o.Status, 0) << o.Err;
    ASSERT_EQ(Split(o.Out, '\n').size(), 1u + 16) << o.Out;
    const std::vector<std::string> alfa = Column(o.Out, "Alfa"), lk = Column(o.Out, "Lk"),
                                   seed = Column(o.Out, "seed"), best = Column(o.Out, "best"),
                                   file = Column(o.Out, "problem");
    const char* alfas[] = {"0.5", "0.96"};
    for (std::size_t i = 0; i < 16; ++i) {
        // A value equal to the start value (Alfa 0.96) is written like any other.
        EXPECT_EQ(alfa[i], alfas[i / 4 % 2]);
        EXPECT_EQ(lk[i], std::to_string(1 + i / 2 % 2));
        EXPECT_EQ(seed[i], std::to_string(3 + i % 2));
        EXPECT_EQ(file[i], i < 8 ? problem : second);
        EXPECT_EQ(Column(o.Out, "direction")[i], i < 8 ? "min" : "max");
        // Each combination alone gives the same run.
        const Outcome alone = Run("--algorithm annealing --seed " + seed[i] +
                                  " --set Alfa=" + alfa[i] + " --set Lk=" + lk[i] + " " + file[i]);
        EXPECT_EQ(Field(alone.Err, "best"), best[i]);
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
        const std::vector<std::string> best = Column(o.Out, "best");
        ASSERT_EQ(best.size(), 20u) << o.Out;
        // The runs end; those that found a number found one of sin's.
        std::size_t numbers = 0;
        for (const std::string& b : best) {
            if (b == "nan") continue;
            ++numbers;
            EXPECT_LE(std::stod(b), 1.0);
            EXPECT_GE(std::stod(b), -1.0);
        }
        EXPECT_GT(numbers, 0u);
    }
}

TEST_F(BatchRunner, AProblemOfTheCatalogueHasAGapAndMayTargetItsOptimum) {
    DataFileContents c;
    c.Formula = "x^2+1";
    c.Variables = {{"x", -2, 2, 2}};
    const std::string bowl = Write("bowl.txt", c);
    std::ofstream(dir / "catalogue.tsv") << "file\tname\tdimension\tdirection\toptimum\tlocation\t"
                                            "tolerance\tdescription\tsource\n"
                                            "bowl.txt\tBowl\t1\tmin\t1\t0\t0.5\tA bowl.\tHere\n";
    const Outcome o = Run("--algorithm steepest --seed 4 --runs 3 --target optimum " + bowl);
    const std::vector<std::string> best = Column(o.Out, "best"), gap = Column(o.Out, "gap"),
                                   reached = Column(o.Out, "evaluations_to_target");
    ASSERT_EQ(gap.size(), 3u) << o.Err;
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(std::stod(gap[k]), std::stod(best[k]) - 1, 1e-6);
        EXPECT_EQ(reached[k].empty(), std::stod(best[k]) > 1.5);  // optimum plus tolerance
    }
    EXPECT_EQ(Column(Run("--algorithm steepest --runs 2 " + problem).Out, "gap"),
              std::vector<std::string>(2, ""));  // not in a catalogue
    ExpectRefused("--algorithm greedy --target optimum " + problem, "no known optimum");
    // A maximised copy under the example's name is another problem; a bad line is only left out.
    const fs::path copy = dir / "copy";
    fs::create_directory(copy);
    c.Maximize = true;
    Write("copy/bowl.txt", c);
    std::ofstream(copy / "catalogue.tsv") << Slurp(dir / "catalogue.tsv") << "bad.txt\tBad\n";
    ExpectRefused("--algorithm greedy --target optimum " + (copy / "bowl.txt").string(),
                  "no known optimum");
    const Outcome warned =
        Run("--algorithm greedy --seed 1 --runs 1 " + bowl + " " + (copy / "bowl.txt").string());
    EXPECT_EQ(warned.Status, 0);
    EXPECT_NE(warned.Err.find("warning: " + (copy / "catalogue.tsv").string() + " line 3"),
              std::string::npos)
        << warned.Err;
    EXPECT_EQ(Column(warned.Out, "gap")[1], "");
}

TEST_F(BatchRunner, UndefinedEvaluationsAreCountedRunByRun) {
    // The genetic population spreads over the whole range -1..1.
    const std::pair<const char*, const char*> cases[] = {
        {"x^2", "none"}, {"log(-1-x^2)", "all"}, {"sqrt(x)", "some"}};
    for (const auto& [formula, expected] : cases) {
        DataFileContents c;
        c.Formula = formula;
        c.Variables = {{"x", -1, 1, 0.5f}};
        const Outcome o = Run("--algorithm genetic --seed 2 --runs 2 " + Write("u.txt", c));
        const std::vector<std::string> undefined = Column(o.Out, "undefined"),
                                       evaluations = Column(o.Out, "evaluations");
        ASSERT_EQ(undefined.size(), 2u) << o.Err;
        for (std::size_t r = 0; r < 2; ++r) {
            const std::string got = undefined[r] == "0"              ? "none"
                                    : undefined[r] == evaluations[r] ? "all"
                                                                     : "some";
            EXPECT_EQ(got, expected) << formula << ": " << undefined[r] << " of " << evaluations[r];
        }
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
    // Files are looked at before anything runs, each refusal saying why.
    const std::string link = (dir / "link.txt").string(), readOnly = (dir / "ro.txt").string(),
                      twoNames = (dir / "twice.txt").string(), loop = (dir / "loop").string(),
                      dangling = (dir / "dangling").string();
    fs::create_symlink(problem, link);
    std::ofstream(readOnly) << "kept\n";
    fs::permissions(readOnly, fs::perms::owner_read);
    std::ofstream(twoNames) << "kept\n";
    fs::create_hard_link(twoNames, dir / "twice-too.txt");
    fs::create_symlink(loop, loop);
    fs::create_symlink(dir / "gone" / "x.txt", dangling);
    const std::string problemText = Slurp(problem);
    fs::create_directory(dir / "full");
    std::ofstream(dir / "full" / "x.info") << "";
    const std::pair<std::string, std::string> files[] = {
        {"--algorithm greedy " + (dir / "none.txt").string(), "': no such file"},
        {"--algorithm greedy " + dir.string(), "': it is a folder"},
        {"--algorithm greedy /dev/null", "cannot read '/dev/null': not a regular file"},
        {"--algorithm greedy --out /dev/null " + problem,
         "cannot write --out '/dev/null': not a regular file"},
        {"--algorithm greedy --meta " + dir.string() + " " + problem, "': it is a folder"},
        {"--algorithm greedy --format ioh " + (dir / "full").string() + " " + problem,
         "the folder is not empty"},
        {"--algorithm greedy --seed 1 --seed 1 " + problem, "option --seed is given twice"},
        {"--algorithm greedy --max-seconds 1e10 " + problem, "at most 31536000 (a year)"},
        // Every output target by the atomic save's rules, before any run.
        {"--algorithm greedy --meta " + problem + " " + problem, "it is the problem file"},
        {"--algorithm greedy --out " + link + " " + problem, "it is the problem file"},
        {"--algorithm greedy --meta " + readOnly + " " + problem, "write-protected"},
        {"--algorithm greedy --out " + twoNames + " " + problem, "2 names (hard links)"},
        {"--algorithm greedy --meta " + loop + " " + problem, "symbolic links"},
        {"--algorithm greedy --out " + dangling + " " + problem, "no folder"},
        {"--algorithm greedy --out " + out + " --meta " + out + " " + problem, "also --out's"},
    };
    for (const auto& [args, part] : files) ExpectRefused(args, part);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(Slurp(problem), problemText);
    EXPECT_EQ(Slurp(readOnly), "kept\n");
    EXPECT_EQ(Slurp(twoNames), "kept\n");
}

// The help fits 80 columns and gives every option it names a line of its own; like every
// output, it fails (status 1) when standard output cannot be written.
TEST_F(BatchRunner, HelpFitsEightyColumnsWithALinePerOption) {
    const Outcome o = Run("--help");
    ASSERT_EQ(o.Status, 0);
    std::istringstream lines(o.Out);
    std::string starts;  // the options that begin a line
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
        if (line.rfind("  --", 0) == 0)
            starts += line.substr(2, line.find_first_of(" ,", 2) - 2) + " ";
    }
    for (std::size_t at = o.Out.find("--"); at != std::string::npos;
         at = o.Out.find("--", at + 2)) {
        const std::size_t end = o.Out.find_first_not_of("abcdefghijklmnopqrstuvwxyz-", at + 2);
        const std::string name = o.Out.substr(at, end - at);
        EXPECT_NE(starts.find(name + " "), std::string::npos) << name << " has no line";
    }
    for (const char* args : {"--help", "--version", "--reads greedy"}) {
        const std::string command =
            std::string(QUARMEL_BATCH_EXE) + " " + args + " >/dev/full 2>/dev/null";
        const int rc = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, 1) << args;
    }
}
