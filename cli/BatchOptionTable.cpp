#include "cli/BatchOptionTable.h"

#include <cmath>

#include "algorithms/AlgorithmTable.h"
#include "app/text/NumberText.h"
#include "app/text/RunTexts.h"
#include "cli/BatchWriter.h"

namespace quarmel {

std::string OptionReading::Value() const {
    if (inline_) return *inline_;
    if (at_ + 1 >= args_.size()) throw BatchInputError("option " + name_ + " needs a value");
    return args_[++at_];
}

std::string OptionReading::NextArgument(const std::string& what) const {
    if (at_ + 1 >= args_.size()) throw BatchInputError(what);
    return args_[++at_];
}

bool ParseDoubleText(const std::string& text, double& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && first != last && std::isfinite(value);
}

namespace {

using R = OptionReading;

std::string ParseFormatName(const std::string& name) {
    if (!FindBatchWriter(name)) {
        throw BatchInputError("unknown format '" + name + "' (" + FormatNames(", ", " or ") + ")");
    }
    return name;
}

std::vector<std::string> SplitText(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(by, from);
        parts.push_back(text.substr(from, at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

AlgorithmKind ParseAlgorithmKey(const std::string& name) {
    const int kind = FindAlgorithm(name);
    if (kind < 0) {
        throw BatchInputError("unknown algorithm '" + name + "' (" + AlgorithmKeys(", ") + ")");
    }
    return KindAt(static_cast<std::size_t>(kind));
}

std::string Text(const char* text) {
    return text;
}

}  // namespace

// clang-format off
const std::vector<BatchOptionRow>& BatchOptionRows() {
    static const std::vector<BatchOptionRow> rows = {
    {"--algorithm", nullptr, "A", false,
     [] { return Text("the algorithm to run (the list below)"); },
     [](R& r) {
         r.Options.Algorithm = ParseAlgorithmKey(r.Value());
         r.AlgorithmGiven = true;
     }},
    {"--seed", nullptr, "N", false,
     [] { return Text("the first run's seed (default: from the clock)"); },
     [](R& r) {
         const std::string v = r.Value();
         r.Options.Seed = ParseSeed(v);
         if (!r.Options.Seed) throw BatchInputError("--seed " + SeedRefusal(v));
     }},
    {"--runs", nullptr, "K", false,
     [] { return Text("makes K runs, seeds N, N+1, ... (a row per run)"); },
     [](R& r) {
         const std::string v = r.Value();
         if (!ParseWholeText(v, r.Options.Runs) || r.Options.Runs < 1 ||
             r.Options.Runs > 1000000) {
             throw BatchInputError("--runs needs a whole number from 1 to 1000000, not '" + v +
                                   "'");
         }
         r.Options.RunsGiven = true;
     }},
    {"--set", nullptr, "NAME=VALUE", true,
     [] { return Text("a setting for every run (repeatable; the list below)"); },
     [](R& r) {
         const std::string v = r.Value();
         const std::size_t eq = v.find('=');
         if (eq == std::string::npos)
             throw BatchInputError("--set needs NAME=VALUE, not '" + v + "'");
         SettingAssignment s{v.substr(0, eq), v.substr(eq + 1)};
         if (!FindSettable(s.Name)) throw BatchInputError("unknown setting '" + s.Name + "'");
         r.Options.Settings.push_back(std::move(s));
     }},
    {"--grid", nullptr, "NAME=V1,V2,...", true,
     [] {
         return "runs every combination of the listed values, each over the seeds (at most " +
                std::to_string(kMaxGridSeries) + " combinations over all problem files; repeatable)";
     },
     [](R& r) {
         const std::string v = r.Value();
         const std::size_t eq = v.find('=');
         if (eq == std::string::npos) {
             throw BatchInputError("--grid needs NAME=V1,V2,..., not '" + v + "'");
         }
         GridAxis axis{v.substr(0, eq), SplitText(v.substr(eq + 1), ',')};
         if (!FindSettable(axis.Name)) {
             throw BatchInputError("unknown setting '" + axis.Name + "'");
         }
         for (const GridAxis& a : r.Options.Grid) {
             if (a.Name == axis.Name) {
                 throw BatchInputError("--grid " + axis.Name + " is given twice");
             }
         }
         AlgParameters scratch;
         for (const std::string& value : axis.Values) ApplySetting({axis.Name, value}, scratch);
         r.Options.Grid.push_back(std::move(axis));
     }},
    {"--jobs", nullptr, "N", false,
     [] { return Text("runs on N threads (default: one per core); same rows for any N"); },
     [](R& r) {
         const std::string v = r.Value();
         if (!ParseWholeText(v, r.Options.Jobs) || r.Options.Jobs < 1 || r.Options.Jobs > 1024) {
             throw BatchInputError("--jobs needs a whole number from 1 to 1024, not '" + v + "'");
         }
     }},
    {"--max-evaluations", nullptr, "E", false,
     [] {
         return "ends a run after E evaluations (default " +
                std::to_string(kDefaultMaxEvaluations) + ")";
     },
     [](R& r) {
         const std::string v = r.Value();
         if (!ParseWholeText(v, r.Options.MaxEvaluations) || r.Options.MaxEvaluations < 1) {
             throw BatchInputError("--max-evaluations needs a whole number above 0, not '" + v +
                                   "'");
         }
         r.Options.MaxEvaluationsGiven = true;
     }},
    {"--max-seconds", nullptr, "S", false,
     [] { return Text("ends a run after S seconds (at most a year)"); },
     [](R& r) {
         const std::string v = r.Value();
         double seconds = 0;
         if (!ParseDoubleText(v, seconds) || !(seconds > 0) || seconds > kMaxSeconds) {
             throw BatchInputError("--max-seconds needs a number above 0 and at most " +
                                   PrintfG(kMaxSeconds, 9) + " (a year), not '" + v + "'");
         }
         r.Options.MaxSeconds = seconds;
     }},
    {"--target", nullptr, "V", false,
     [] { return Text("counts the runs that reach V and the evaluations it takes"); },
     [](R& r) {
         const std::string v = r.Value();
         double target = 0;
         if (v == "optimum") {
             r.Options.TargetOptimum = true;
             r.Options.Target.reset();
         } else if (ParseDoubleText(v, target)) {
             r.Options.Target = target;
             r.Options.TargetOptimum = false;
         } else {
             throw BatchInputError("--target needs a number or optimum, not '" + v + "'");
         }
     }},
    {"--target", nullptr, "optimum", false,
     [] {
         return Text("the same with V each problem's known optimum plus the catalogue's "
                     "tolerance (examples/catalogue.tsv beside the file)");
     },
     nullptr},
    {"--format", nullptr, "F [DIR]", false,
     [] {
         return "the table to print: " + FormatNames(", ", " or ") + " (below; ioh needs DIR)";
     },
     [](R& r) {
         r.Options.Format = ParseFormatName(r.Value());
         if (r.Options.Format == "ioh") {
             r.Options.IohFolder = r.NextArgument("--format ioh needs a folder");
             if (r.Options.IohFolder->empty()) throw BatchInputError("--format ioh needs a folder");
         }
     }},
    {"--no-header", nullptr, "", false,
     [] { return Text("leaves out the header line, so outputs join with cat"); },
     [](R& r) { r.Options.NoHeader = true; }},
    {"--meta", nullptr, "FILE", false,
     [] { return Text("writes the version, the command and the problems as JSON"); },
     [](R& r) {
         r.Options.MetaFile = r.Value();
         if (r.Options.MetaFile->empty() || *r.Options.MetaFile == "-") {
             throw BatchInputError("--meta needs a file name");
         }
     }},
    {"--population", nullptr, "", false,
     [] {
         return "(one run of " + PopulationKeys() +
                ") adds the last population, marked 1 in a last column \"population\" (the "
                "path's rows 0)";
     },
     [](R& r) { r.Options.Population = true; }},
    {"--out", nullptr, "FILE", false,
     [] { return Text("saves the best run as a data file (one problem file)"); },
     [](R& r) {
         r.Options.OutFile = r.Value();
         if (r.Options.OutFile->empty()) throw BatchInputError("--out needs a file name");
         if (*r.Options.OutFile == "-") {
             throw BatchInputError(
                 "--out writes a data file, not standard output: name the file (./- for a "
                 "file named -)");
         }
     }},
    {"--summarize", nullptr, "FILE", false,
     [] {
         return Text("prints the summary (or the pairs) of a runs table, one joined from shards "
                     "or from one call per algorithm, with --target as its runs were given "
                     "(optimum: each run's own target, the table's target column)");
     },
     [](R& r) { r.Options.SummarizeFile = r.Value(); }},
    {"--reads", nullptr, "ALGORITHM", false,
     [] {
         return Text("prints the settings the algorithm may read, one a line (some only with "
                     "some choices of others)");
     },
     [](R& r) { r.Options.Reads = ParseAlgorithmKey(r.Value()); }},
    {"--help", "-h", "", false, [] { return Text("prints this help"); },
     [](R& r) { r.Options.Help = true; }},
    {"--version", nullptr, "", false, [] { return Text("prints the version"); },
     [](R& r) { r.Options.Version = true; }},
    };
    return rows;
}
// clang-format on

}  // namespace quarmel
