#include "cli/BatchOptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

#include "algorithms/AlgorithmTable.h"
#include "app/stats/RankSum.h"
#include "app/text/NumberText.h"
#include "app/text/RunTexts.h"
#include "cli/BatchOptionTable.h"
#include "cli/BatchWriter.h"
#include "cli/OptionConflicts.h"
#include "model/Settings.h"

namespace quarmel {

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
    std::vector<std::string> given;  // the options that are taken once, once given
    std::vector<std::string> files;
    std::size_t i = 0;
    OptionReading reading(o, args, i);
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-' || arg == "--") {
            if (arg == "--") {
                files.insert(files.end(), args.begin() + static_cast<long>(i) + 1, args.end());
                break;
            }
            files.push_back(arg);
            continue;
        }
        std::string name = arg, inlineValue;
        const std::size_t eq = arg.find('=');
        const bool hasInline = arg.rfind("--", 0) == 0 && eq != std::string::npos;
        if (hasInline) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        const auto& rows = BatchOptionRows();
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const BatchOptionRow& r) {
            return r.Apply && (name == r.Name || (r.Short && name == r.Short));
        });
        if (row == rows.end()) throw BatchInputError("unknown option '" + name + "'");
        if (!row->Repeatable) {
            if (std::find(given.begin(), given.end(), row->Name) != given.end()) {
                throw BatchInputError("option " + std::string(row->Name) + " is given twice");
            }
            given.emplace_back(row->Name);
        }
        if (hasInline && !*row->ValueName) {
            throw BatchInputError("option " + name + " takes no value");
        }
        reading.name_ = name;
        reading.inline_ = hasInline ? &inlineValue : nullptr;
        row->Apply(reading);
    }
    const bool algorithmGiven = reading.AlgorithmGiven;
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
        if (!ParseDoubleText(setting.Value, v) || v < s->MinValue() || v > s->MaxValue()) {
            throw BatchInputError("setting " + setting.Name + " needs a number in " +
                                  SettingRange(*s) + ", not '" + setting.Value + "'");
        }
        s->Store(params, v);
    } else {
        int v = 0;
        if (!ParseWholeText(setting.Value, v) || v < s->MinValue() || v > s->MaxValue()) {
            throw BatchInputError("setting " + setting.Name + " needs a whole number in " +
                                  SettingRange(*s) + ", not '" + setting.Value + "'");
        }
        s->Store(params, v);
    }
}

}  // namespace quarmel
