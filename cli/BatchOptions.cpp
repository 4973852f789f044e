#include "BatchOptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

#include "BatchWriter.h"
#include "OptionConflicts.h"
#include "algorithms/AlgorithmTable.h"
#include "app/NumberText.h"
#include "app/RankSum.h"
#include "app/RunTexts.h"
#include "model/Settings.h"

namespace quarmel {

namespace {

// A whole text as a number with "."; nothing before or after it.
bool ParseDouble(const std::string& text, double& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && first != last && std::isfinite(value);
}

template <class T>
bool ParseWhole(const std::string& text, T& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, ec] = std::from_chars(first, last, value, 10);
    return ec == std::errc() && end == last && first != last;
}

// The format names joined by `by`, the last two by `last`: "csv, runs or long".
std::string FormatNames(const std::string& by, const std::string& last) {
    const std::vector<std::string> names = BatchFormatNames();
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? last : by;
        text += names[i];
    }
    return text;
}

std::string ParseFormat(const std::string& name) {
    if (!FindBatchWriter(name)) {
        throw BatchInputError("unknown format '" + name + "' (" + FormatNames(", ", " or ") + ")");
    }
    return name;
}

std::vector<std::string> SplitAt(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(by, from);
        parts.push_back(text.substr(from, at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

AlgorithmKind ParseAlgorithm(const std::string& name) {
    const int kind = FindAlgorithm(name);
    if (kind < 0)
        throw BatchInputError("unknown algorithm '" + name + "' (" + AlgorithmKeys(", ") + ")");
    return KindAt(static_cast<std::size_t>(kind));
}

// The keys of the algorithms with a population, joined by ", ".
std::string PopulationKeys() {
    std::string keys;
    for (std::size_t k = 0; k < kAlgorithmCount; ++k) {
        const AlgorithmRow& row = kAlgorithms[k];
        if (!row.Population) continue;
        if (!keys.empty()) keys += ", ";
        keys += row.Key;
    }
    return keys;
}

// A line per algorithm: its key, its name and the settings it reads.
std::string AlgorithmLines() {
    const AlgParameters start;
    std::string lines;
    for (std::size_t k = 0; k < kAlgorithmCount; ++k) {
        const AlgorithmRow& row = kAlgorithms[k];
        std::string caption = row.Caption;
        caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
        std::string line =
            "  " + std::string(row.Key) + std::string(11 - std::strlen(row.Key), ' ') + caption;
        std::string reads;
        for (std::size_t i = 0; i < kSettingCount; ++i) {
            if (!SettingUsedBy(kSettings[i], KindAt(k), start)) continue;
            reads += (reads.empty() ? ": " : " ") + std::string(kSettings[i].Name);
        }
        line += reads;
        while (line.size() > 88) {
            std::size_t cut = line.rfind(' ', 88);
            lines += line.substr(0, cut) + "\n";
            line = std::string(13, ' ') + line.substr(cut + 1);
        }
        lines += line + "\n";
    }
    return lines;
}

}  // namespace

const SettingSpec* FindSettable(const std::string& name) {
    const SettingSpec* s = FindSetting(name);
    return s && s->Kind != SettingKind::Ignored ? s : nullptr;
}

std::string SettingRange(const SettingSpec& s) {
    return PrintfG(s.MinValue()) + ".." + PrintfG(s.MaxValue());
}

std::string SettingRangeAndStart(const SettingSpec& s) {
    AlgParameters start;
    StartSettings(start);
    const double value = s.DecimalField ? double{start.*s.DecimalField} : start.*s.WholeField;
    return SettingRange(s) + ", start " + PrintfG(static_cast<float>(value), 6);
}

std::string BatchUsage() {
    std::string usage =
        "usage: quarmel-batch --algorithm " + AlgorithmKeys("|") +
        "\n"
        "                     [--seed N] [--runs K]\n"
        "                     [--set NAME=VALUE]... [--grid NAME=V1,V2,...]... [--jobs N]\n"
        "                     [--max-evaluations E] [--max-seconds S] [--target V]\n"
        "                     [--format " +
        FormatNames("|", "|") +
        " [DIR]] [--no-header] [--meta FILE]\n"
        "                     [--population] [--out FILE] PROBLEM_FILE...\n"
        "       quarmel-batch --summarize RUNS_TABLE [--target V] [--format summary|pairs]\n"
        "                     [--no-header]\n"
        "       quarmel-batch --help | --version\n"
        "\n"
        "Runs one algorithm on the problems of data files (their solutions are ignored), problem\n"
        "by problem, and prints the run's solutions as CSV; with --runs, --grid or several files,\n"
        "one row per run of K runs with seeds N, N+1, ... Every format is one table.\n"
        "  --grid NAME=V1,V2,...  runs every combination of the listed values, each over the "
        "seeds\n"
        "                         (at most " +
        std::to_string(kMaxGridSeries) +
        " combinations over all problem files)\n"
        "  --jobs N               runs on N threads (default: one per core); same rows for any N\n"
        "  --max-evaluations E    ends a run after E evaluations (default 100000000)\n"
        "  --max-seconds S        ends a run after S seconds (at most a year)\n"
        "  --target V             counts the runs that reach V and the evaluations it takes\n"
        "  --target optimum       the same with V each problem's known optimum plus the\n"
        "                         catalogue's tolerance (examples/catalogue.tsv beside the file)\n"
        "  --no-header            leaves out the header line, so outputs join with cat\n"
        "  --meta FILE            writes the version, the command and the problems as JSON\n"
        "  --summarize FILE       prints the summary (or the pairs) of a runs table, one joined\n"
        "                         from shards or from one call per algorithm, with --target\n"
        "                         as its runs were given\n"
        "  --population           (one run of " +
        PopulationKeys() +
        ") adds the last population,\n"
        "                         marked 1 in a last column \"population\" (the path's rows 0)\n"
        "Formats (numbers are the shortest text that reads back; a missing one is empty):\n"
        "  csv      one run: its path, a column per variable and F; else as runs\n"
        "  runs     a row per run: problem (the file as given), function, direction (min|max),\n"
        "           dimension, algorithm, a column per setting with its value, seed, best,\n"
        "           evaluations, solutions (steps published), seconds (the run's processor\n"
        "           time), ended (finished|stopped-by-budget), with --target\n"
        "           evaluations_to_target (empty when not reached), gap (best minus the known\n"
        "           optimum in the problem's direction; empty when none is known), undefined\n"
        "           (the evaluations where the formula is undefined, each counted as 0)\n"
        "  summary  a row per series (problem and settings): the series columns, runs, best,\n"
        "           median, worst, mean, sd, seconds (all runs'), with --target the target,\n"
        "           reached (the share of runs reaching it) and ert (evaluations of all runs, up\n"
        "           to the target where reached, over the runs reaching it; empty for none); then\n"
        "           rank (by median within the problem, better first, ties sharing the best\n"
        "           rank: 1,2,2,4), with --target ert_lo and ert_hi (the 0.1 and 0.9 quantiles,\n"
        "           linear between order statistics, of the ERT of 1000 resamples of the runs\n"
        "           with a fixed seed; inf where too many resamples reach nothing)\n"
        "  long     a row per published step: the series columns, seed, step, evaluations (made\n"
        "           up to the step), value, best_so_far\n"
        "  jsonl    an object a line per run: the runs columns (settings as an object),\n"
        "           version and command\n"
        "  ioh DIR  IOHprofiler .info and .dat files in DIR (new or empty), a folder per\n"
        "           algorithm and settings; the version and command in each .info comment;\n"
        "           funcId a hash of the function's name, formula, direction and ranges,\n"
        "           the same in every call\n"
        "  pairs    a row per pair of series of a problem: problem, function, series_a,\n"
        "           series_b (algorithm and changed settings), n_a, n_b, median_a, median_b,\n"
        "           u (Mann-Whitney U of a's final bests; not a number counts as the worst),\n"
        "           p (two-sided: exact when a sample has at most " +
        std::to_string(kExactRankSumBound) +
        " runs and no two values\n"
        "           are equal, else normal with tie and continuity correction), p_holm (Holm\n"
        "           over the problem's pairs), better (a or b where p_holm < 0.05, else empty)\n"
        "Algorithms (the settings each reads; random search and pagmo2's cmaes, de and pso are\n"
        "references to compare the window's four with):\n" +
        AlgorithmLines() +
        "Settings start as the option pages show them at start-up, with the delays 0:\n";
    std::string line;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingSpec& s = kSettings[i];
        if (s.Kind == SettingKind::Ignored) continue;
        const std::string entry = std::string(s.Name) + " (" + SettingRangeAndStart(s) + ")";
        if (!line.empty() && line.size() + 2 + entry.size() > 88) {
            usage += line + "\n";
            line.clear();
        }
        line += "  " + entry;
    }
    return usage + line + "\n";
}

namespace {

// The settings series the grid makes on each problem file, or more than the limit.
unsigned long long SeriesCount(const std::vector<GridAxis>& grid, std::size_t files) {
    unsigned long long count = files;
    for (const GridAxis& axis : grid) {
        count *= axis.Values.size();
        if (count > kMaxGridSeries) return kMaxGridSeries + 1;
    }
    return count;
}

}  // namespace

BatchOptions ParseBatchArguments(const std::vector<std::string>& args) {
    BatchOptions o;
    bool algorithmGiven = false;
    std::vector<std::string> given;  // the options that take one value, once given
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-' || arg == "--") {
            if (arg == "--") {
                files.insert(files.end(), args.begin() + static_cast<long>(i) + 1, args.end());
                break;
            }
            files.push_back(arg);
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = arg.find('=');
            arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        auto value = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= args.size()) throw BatchInputError("option " + name + " needs a value");
            return args[++i];
        };
        auto noValue = [&]() {
            if (inlineValue) throw BatchInputError("option " + name + " takes no value");
        };
        if (name != "--set" && name != "--grid") {
            const std::string key = name == "-h" ? "--help" : name;
            if (std::find(given.begin(), given.end(), key) != given.end()) {
                throw BatchInputError("option " + key + " is given twice");
            }
            given.push_back(key);
        }

        if (name == "--help" || name == "-h") {
            noValue();
            o.Help = true;
        } else if (name == "--version") {
            noValue();
            o.Version = true;
        } else if (name == "--algorithm") {
            o.Algorithm = ParseAlgorithm(value());
            algorithmGiven = true;
        } else if (name == "--seed") {
            const std::string v = value();
            o.Seed = ParseSeed(v);
            if (!o.Seed) throw BatchInputError("--seed " + SeedRefusal(v));
        } else if (name == "--runs") {
            const std::string v = value();
            if (!ParseWhole(v, o.Runs) || o.Runs < 1 || o.Runs > 1000000) {
                throw BatchInputError("--runs needs a whole number from 1 to 1000000, not '" + v +
                                      "'");
            }
            o.RunsGiven = true;
        } else if (name == "--set") {
            const std::string v = value();
            const std::size_t eq = v.find('=');
            if (eq == std::string::npos)
                throw BatchInputError("--set needs NAME=VALUE, not '" + v + "'");
            SettingAssignment s{v.substr(0, eq), v.substr(eq + 1)};
            if (!FindSettable(s.Name)) throw BatchInputError("unknown setting '" + s.Name + "'");
            o.Settings.push_back(std::move(s));
        } else if (name == "--population") {
            noValue();
            o.Population = true;
        } else if (name == "--jobs") {
            const std::string v = value();
            if (!ParseWhole(v, o.Jobs) || o.Jobs < 1 || o.Jobs > 1024) {
                throw BatchInputError("--jobs needs a whole number from 1 to 1024, not '" + v +
                                      "'");
            }
        } else if (name == "--max-evaluations") {
            const std::string v = value();
            if (!ParseWhole(v, o.MaxEvaluations) || o.MaxEvaluations < 1) {
                throw BatchInputError("--max-evaluations needs a whole number above 0, not '" + v +
                                      "'");
            }
            o.MaxEvaluationsGiven = true;
        } else if (name == "--max-seconds") {
            const std::string v = value();
            double seconds = 0;
            if (!ParseDouble(v, seconds) || !(seconds > 0) || seconds > kMaxSeconds) {
                throw BatchInputError("--max-seconds needs a number above 0 and at most " +
                                      PrintfG(kMaxSeconds, 9) + " (a year), not '" + v + "'");
            }
            o.MaxSeconds = seconds;
        } else if (name == "--target") {
            const std::string v = value();
            double target = 0;
            if (v == "optimum") {
                o.TargetOptimum = true;
                o.Target.reset();
            } else if (ParseDouble(v, target)) {
                o.Target = target;
                o.TargetOptimum = false;
            } else {
                throw BatchInputError("--target needs a number or optimum, not '" + v + "'");
            }
        } else if (name == "--format") {
            o.Format = ParseFormat(value());
            if (o.Format == "ioh") {
                if (i + 1 >= args.size()) throw BatchInputError("--format ioh needs a folder");
                o.IohFolder = args[++i];
                if (o.IohFolder->empty()) throw BatchInputError("--format ioh needs a folder");
            }
        } else if (name == "--summarize") {
            o.SummarizeFile = value();
        } else if (name == "--meta") {
            o.MetaFile = value();
            if (o.MetaFile->empty() || *o.MetaFile == "-") {
                throw BatchInputError("--meta needs a file name");
            }
        } else if (name == "--no-header") {
            noValue();
            o.NoHeader = true;
        } else if (name == "--grid") {
            const std::string v = value();
            const std::size_t eq = v.find('=');
            if (eq == std::string::npos) {
                throw BatchInputError("--grid needs NAME=V1,V2,..., not '" + v + "'");
            }
            GridAxis axis{v.substr(0, eq), SplitAt(v.substr(eq + 1), ',')};
            if (!FindSettable(axis.Name)) {
                throw BatchInputError("unknown setting '" + axis.Name + "'");
            }
            for (const GridAxis& a : o.Grid) {
                if (a.Name == axis.Name) {
                    throw BatchInputError("--grid " + axis.Name + " is given twice");
                }
            }
            AlgParameters scratch;
            for (const std::string& value : axis.Values) {
                ApplySetting({axis.Name, value}, scratch);
            }
            o.Grid.push_back(std::move(axis));
        } else if (name == "--out") {
            o.OutFile = value();
            if (o.OutFile->empty()) throw BatchInputError("--out needs a file name");
            if (*o.OutFile == "-") {
                throw BatchInputError(
                    "--out writes a data file, not standard output: name the file (./- for a "
                    "file named -)");
            }
        } else {
            throw BatchInputError("unknown option '" + name + "'");
        }
    }
    if (o.Help || o.Version) return o;
    if (o.SummarizeFile) {
        if (!files.empty() || algorithmGiven) {
            throw BatchInputError("--summarize reads a runs table; it makes no runs");
        }
        if (o.TargetOptimum) throw BatchInputError("--summarize needs --target as a number");
        if (o.Format != "csv" && o.Format != "summary" && o.Format != "pairs") {
            throw BatchInputError("--summarize prints --format summary or pairs");
        }
        return o;
    }
    if (!algorithmGiven) throw BatchInputError("--algorithm is missing");
    if (files.empty()) throw BatchInputError("the problem file is missing");
    for (const std::string& file : files) {
        if (file == "-") {
            throw BatchInputError(
                "the problem is read from a file, not standard input: name it (./- for a file "
                "named -)");
        }
    }
    o.ProblemFiles = files;
    if (const unsigned long long n = SeriesCount(o.Grid, files.size()); n > kMaxGridSeries) {
        throw BatchInputError("--grid makes more than " + std::to_string(kMaxGridSeries) +
                              " settings series; run it in parts");
    }
    if (files.size() > 1 && o.OutFile) {
        throw BatchInputError("--out saves the run of one problem file, not of " +
                              std::to_string(files.size()));
    }
    if (files.size() > 1 && o.Population) {
        throw BatchInputError("--population is for one problem file");
    }
    if (o.Population && !AlgorithmOf(o.Algorithm).Population) {
        throw BatchInputError("--population is for an algorithm with a population (" +
                              PopulationKeys() + ")");
    }
    if (o.Population && o.RunsGiven) {
        throw BatchInputError("--population cannot be combined with --runs");
    }
    if (o.Population && !o.Grid.empty()) {
        throw BatchInputError("--population cannot be combined with --grid");
    }
    if (o.Population && o.Format != "csv") {
        throw BatchInputError("--population is for --format csv only");
    }
    CheckOptionConflicts(o);
    return o;
}

void StartSettings(AlgParameters& params) {
    StoreStartSettings(params);
    params.LocalSleep = 0;
    params.GeneticSleep = 0;
    params.ReferenceSleep = 0;
}

std::vector<std::vector<SettingAssignment>> GridCombinations(const std::vector<GridAxis>& grid) {
    std::vector<std::vector<SettingAssignment>> combinations(1);
    for (const GridAxis& axis : grid) {
        std::vector<std::vector<SettingAssignment>> longer;
        for (const auto& head : combinations) {
            for (const std::string& value : axis.Values) {
                longer.push_back(head);
                longer.back().push_back({axis.Name, value});
            }
        }
        combinations = std::move(longer);
    }
    return combinations;
}

void ApplySetting(const SettingAssignment& setting, AlgParameters& params) {
    const SettingSpec* s = FindSettable(setting.Name);
    if (!s) throw BatchInputError("unknown setting '" + setting.Name + "'");
    if (s->Kind == SettingKind::Decimal) {
        double v = 0;
        if (!ParseDouble(setting.Value, v) || v < s->MinValue() || v > s->MaxValue()) {
            throw BatchInputError("setting " + setting.Name + " needs a number in " +
                                  SettingRange(*s) + ", not '" + setting.Value + "'");
        }
        s->Store(params, v);
    } else {
        int v = 0;
        if (!ParseWhole(setting.Value, v) || v < s->MinValue() || v > s->MaxValue()) {
            throw BatchInputError("setting " + setting.Name + " needs a whole number in " +
                                  SettingRange(*s) + ", not '" + setting.Value + "'");
        }
        s->Store(params, v);
    }
}

}  // namespace quarmel
