#include "BatchOptions.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "BatchWriter.h"
#include "app/NumberText.h"
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

// The shortest text that reads back as the value.
AlgorithmKind ParseAlgorithm(const std::string& name) {
    for (AlgorithmKind k : {Greedy, Steepest, SimulatedAnnealing, Genetic}) {
        if (name == AlgorithmName(k)) return k;
    }
    throw BatchInputError("unknown algorithm '" + name +
                          "' (greedy, steepest, annealing or genetic)");
}

}  // namespace

const SettingSpec* FindSettable(const std::string& name) {
    const SettingSpec* s = FindSetting(name);
    return s && s->Kind != SettingKind::Ignored ? s : nullptr;
}

std::string SettingRange(const SettingSpec& s) {
    return PrintfG(s.MinValue()) + ".." + PrintfG(s.MaxValue());
}

std::string BatchUsage() {
    std::string usage =
        "usage: quarmel-batch --algorithm greedy|steepest|annealing|genetic [--seed N] [--runs K]\n"
        "                     [--set NAME=VALUE]... [--grid NAME=V1,V2,...]... [--jobs N]\n"
        "                     [--max-evaluations E] [--max-seconds S] [--target V]\n"
        "                     [--format " +
        FormatNames("|", "|") +
        "] [--no-header] [--population] [--out FILE]\n"
        "                     PROBLEM_FILE\n"
        "       quarmel-batch --help | --version\n"
        "\n"
        "Runs one algorithm on the problem of a data file (its solutions are ignored) and prints\n"
        "the run's solutions as CSV; with --runs, a summary of K runs with seeds N, N+1, ...\n"
        "  --grid NAME=V1,V2,...  runs every combination of the listed values, each over the "
        "seeds\n"
        "  --jobs N               runs on N threads (default: one per core); same output for any "
        "N\n"
        "  --max-evaluations E    ends a run after E evaluations (default 100000000)\n"
        "  --max-seconds S        ends a run after S seconds\n"
        "  --target V             counts the runs that reach V and the evaluations it takes\n"
        "  --format runs          one row per run; --format long: one row per published step\n"
        "  --no-header            leaves out the header lines, so outputs join with cat\n"
        "Settings start as the option pages show them at start-up, with both delays 0:\n";
    std::string line;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingSpec& s = kSettings[i];
        if (s.Kind == SettingKind::Ignored) continue;
        const std::string entry = std::string(s.Name) + " (" + SettingRange(s) + ")";
        if (!line.empty() && line.size() + 2 + entry.size() > 88) {
            usage += line + "\n";
            line.clear();
        }
        line += "  " + entry;
    }
    return usage + line + "\n";
}

BatchOptions ParseBatchArguments(const std::vector<std::string>& args) {
    BatchOptions o;
    bool algorithmGiven = false;
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
            if (!o.Seed) {
                throw BatchInputError("--seed needs a whole number from 0 to 4294967295, not '" +
                                      v + "'");
            }
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
            if (!ParseDouble(v, seconds) || !(seconds > 0)) {
                throw BatchInputError("--max-seconds needs a number above 0, not '" + v + "'");
            }
            o.MaxSeconds = seconds;
        } else if (name == "--target") {
            const std::string v = value();
            double target = 0;
            if (!ParseDouble(v, target)) {
                throw BatchInputError("--target needs a number, not '" + v + "'");
            }
            o.Target = target;
        } else if (name == "--format") {
            o.Format = ParseFormat(value());
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
    if (!algorithmGiven) throw BatchInputError("--algorithm is missing");
    if (files.size() != 1) {
        throw BatchInputError(files.empty() ? "the problem file is missing"
                                            : "only one problem file may be given");
    }
    o.ProblemFile = files.front();
    if (o.ProblemFile == "-") {
        throw BatchInputError(
            "the problem is read from a file, not standard input: name it (./- for a file "
            "named -)");
    }
    if (o.Population && o.Algorithm != Genetic) {
        throw BatchInputError("--population is for --algorithm genetic only");
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
    return o;
}

void StartSettings(AlgParameters& params) {
    StoreStartSettings(params);
    params.LocalSleep = 0;
    params.GeneticSleep = 0;
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
