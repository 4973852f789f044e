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

}  // namespace

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
        } else if (name == "--reads") {
            o.Reads = ParseAlgorithm(value());
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
    if (o.Help || o.Version || o.Reads) return o;
    if (o.SummarizeFile) {
        if (!files.empty() || algorithmGiven) {
            throw BatchInputError("--summarize reads a runs table; it makes no runs");
        }
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
