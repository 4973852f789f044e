#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/datafile/OpenedProblem.h"
#include "app/examples/ExampleCatalogue.h"
#include "app/examples/ExampleFolder.h"

using namespace quarmel;
namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

}  // namespace

TEST(ExampleCatalogue, EveryExampleReachesItsOptimumAndNoPointBeatsIt) {
    const std::string folder = QUARMEL_EXAMPLES_DIR;
    const ExampleCatalogue catalogue = ReadExampleCatalogue(Slurp(folder + "/catalogue.tsv"));
    ASSERT_EQ(catalogue.Error, "");
    EXPECT_GE(catalogue.Examples.size(), 15u);
    std::set<std::string> names;
    std::mt19937 random(1);
    for (const ExampleProblem& e : catalogue.Examples) {
        SCOPED_TRACE(e.File);
        EXPECT_TRUE(names.insert(e.Name).second) << "two examples named " << e.Name;
        EXPECT_FALSE(e.Source.empty());
        Problem problem;
        const OpenedProblem opened = OpenProblem(folder + "/" + e.File, problem);
        ASSERT_TRUE(opened.Ok()) << opened.Error;
        EXPECT_EQ(opened.FunctionName, e.Name + " ");
        ASSERT_EQ(problem.VariableCount(), e.Dimension);
        ASSERT_EQ(problem.Compile(), -1);
        EXPECT_EQ(problem.Maximize(), e.Maximize);
        for (int i = 0; i < e.Dimension; ++i) {
            EXPECT_GE(e.Optimum.Location[i], problem.Variable(i).Min);
            EXPECT_LE(e.Optimum.Location[i], problem.Variable(i).Max);
        }
        EXPECT_NEAR(problem.Eval(e.Optimum.Location.data()), e.Optimum.Value, e.Optimum.Tolerance);

        // Random points of the domain are never better than the optimum, and not all equal to it.
        const double sign = e.Maximize ? -1 : 1;
        double spread = 0;
        std::vector<double> x(static_cast<std::size_t>(e.Dimension));
        for (int n = 0; n < 5000; ++n) {
            for (int i = 0; i < e.Dimension; ++i) {
                const VariableSpec& v = problem.Variable(i);
                x[i] = std::uniform_real_distribution<double>(v.Min, v.Max)(random);
            }
            const double gap = sign * (problem.Eval(x.data()) - e.Optimum.Value);
            ASSERT_GE(gap, -e.Optimum.Tolerance) << "at " << x[0] << ", " << x[1];
            spread = std::max(spread, gap);
        }
        EXPECT_GT(spread, 100 * e.Optimum.Tolerance);
    }
}

// A line that does not read is left out with a warning naming it; the lines around it stay.
TEST(ExampleCatalogue, AMalformedLineIsNamedAndLeftOut) {
    const std::string header =
        "file\tname\tdimension\tdirection\toptimum\tlocation\ttolerance\tdescription\tsource\n";
    const std::string good = "a.txt\tA\t2\tmin\t0\t1;2\t1e-6\tbowl\tpaper\n";
    const std::string after = "c.txt\tC\t1\tmax\t3\t0\t0\tcap\tpaper\n";
    // {the line after a good one, what the warning says}
    const struct {
        std::string line, says;
    } cases[] = {
        {"b.txt\tB\t2\tmin\t0\t1;2\t1e-6\tbowl\n", "line 3: 8 fields"},
        {"b.txt\tB\t2.5\tmin\t0\t1;2\t1e-6\tbowl\tpaper\n", "line 3: the dimension"},
        {"b.txt\tB\t2\tlow\t0\t1;2\t1e-6\tbowl\tpaper\n", "line 3: the direction"},
        {"b.txt\tB\t2\tmin\t0,5\t1;2\t1e-6\tbowl\tpaper\n", "line 3: the optimum"},
        {"b.txt\tB\t2\tmin\tnan\t1;2\t1e-6\tbowl\tpaper\n", "line 3: the optimum"},
        {"b.txt\tB\t2\tmin\t0\t1\t1e-6\tbowl\tpaper\n", "line 3: the location does not"},
        {"b.txt\tB\t2\tmin\t0\t1;x\t1e-6\tbowl\tpaper\n", "line 3: the location is not"},
        {"b.txt\tB\t2\tmin\t0\t1;2\t-1\tbowl\tpaper\n", "line 3: the tolerance"},
        {"../b.txt\tB\t2\tmin\t0\t1;2\t0\tbowl\tpaper\n", "line 3: no plain file name"},
    };
    const ExampleCatalogue fine = ReadExampleCatalogue(header + good);
    ASSERT_EQ(fine.Error, "");
    ASSERT_EQ(fine.Examples.size(), 1u);
    EXPECT_EQ(fine.Examples[0].Optimum.Location, (std::vector<double>{1, 2}));
    EXPECT_TRUE(FindExample(fine, "a.txt").has_value());
    EXPECT_FALSE(FindExample(fine, "b.txt").has_value());
    for (const auto& c : cases) {
        const ExampleCatalogue read = ReadExampleCatalogue(header + good + c.line + after);
        EXPECT_EQ(read.Error, "");
        ASSERT_EQ(read.Warnings.size(), 1u) << c.says;
        EXPECT_EQ(read.Warnings[0].rfind(c.says, 0), 0u) << read.Warnings[0];
        EXPECT_TRUE(FindExample(read, "a.txt") && FindExample(read, "c.txt")) << c.says;
        EXPECT_FALSE(FindExample(read, "b.txt")) << c.says;
    }
    EXPECT_EQ(ReadExampleCatalogue(good).Error, "line 1: not the catalogue's header");
}

TEST(ExampleCatalogue, GroupsByNumberOfVariablesKeepTheCataloguesOrder) {
    std::vector<ExampleProblem> examples;
    for (const auto& [file, n] : std::vector<std::pair<std::string, int>>{
             {"a", 5}, {"b", 2}, {"c", 5}, {"d", 1}, {"e", 19}, {"f", 2}}) {
        examples.push_back({file, file, n, false, {}, "", ""});
    }
    const std::vector<ExampleGroup> groups = GroupByDimension(examples);
    std::vector<std::string> seen;
    for (const ExampleGroup& g : groups) {
        std::string files;
        for (const ExampleProblem& e : g.Examples) files += e.File;
        seen.push_back(g.Caption + ": " + files);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"1 variable: d", "2 variables: bf", "5 variables: ac",
                                              "19 variables: e"}));
}

// The catalogue beside a problem file, also a bare name's in the current folder, gives an example
// only to the problem it fits; a catalogue over the bound gives none.
TEST(ExampleCatalogue, AFileFindsTheExampleThatFitsItsProblem) {
    char pattern[] = "/tmp/quarmel-catalogue-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    const std::string header =
        "file\tname\tdimension\tdirection\toptimum\tlocation\ttolerance\tdescription\tsource\n";
    std::ofstream(dir / "catalogue.tsv")
        << header << "sphere.txt\tSphere\t2\tmin\t0\t0;0\t0\tbowl\tp\n";
    const auto sphere = [](bool maximize, int variables) {
        Problem p;
        p.SetFunctionText("x^2+y^2");
        for (int i = 0; i < variables; ++i) p.AddVariable(i ? "y" : "x", -5, 5, 1);
        p.SetMaximize(maximize);
        return p;
    };
    const std::string file = (dir / "sphere.txt").string();
    EXPECT_TRUE(KnownExampleFor(file, "", sphere(false, 2)));
    EXPECT_FALSE(KnownExampleFor(file, "", sphere(true, 2)));  // the maximised copy
    EXPECT_FALSE(KnownExampleFor(file, "", sphere(false, 1)));
    EXPECT_FALSE(KnownExampleFor((dir / "other.txt").string(), "", sphere(false, 2)));

    const fs::path was = fs::current_path();
    fs::current_path(dir);
    const bool bare = KnownExampleFor("sphere.txt", "", sphere(false, 2)).has_value();
    fs::current_path(was);
    EXPECT_TRUE(bare);

    const fs::path big = dir / "big";
    fs::create_directory(big);
    std::string text = header;
    while (text.size() <= kMaxCatalogueBytes)
        text += "sphere.txt\tSphere\t2\tmin\t0\t0;0\t0\tbowl\tp\n";
    std::ofstream(big / "catalogue.tsv") << text;
    std::vector<std::string> warnings;
    EXPECT_FALSE(KnownExampleFor((big / "sphere.txt").string(), "", sphere(false, 2), &warnings));
    EXPECT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(ReadCatalogueIn(big.string()).Examples.empty());
    fs::remove_all(dir);
}
