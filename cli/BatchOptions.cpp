#include "BatchOptions.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "app/NumberText.h"
#include "model/Settings.h"

namespace quarmel {

namespace {

// A setting that --set may change: every one of the table but the ignored field.
const SettingSpec* FindSettable(const std::string& name) {
    const SettingSpec* s = FindSetting(name);
    return s && s->Kind != SettingKind::Ignored ? s : nullptr;
}

std::string Range(const SettingSpec& s) {
    return PrintfG(s.MinValue()) + ".." + PrintfG(s.MaxValue());
}

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

AlgorithmKind ParseAlgorithm(const std::string& name) {
    for (AlgorithmKind k : {Greedy, Steepest, SimulatedAnnealing, Genetic}) {
        if (name == AlgorithmName(k)) return k;
    }
    throw BatchInputError("unknown algorithm '" + name +
                          "' (greedy, steepest, annealing or genetic)");
}

}  // namespace

std::string BatchUsage() {
    std::string usage =
        "usage: quarmel-batch --algorithm greedy|steepest|annealing|genetic [--seed N] [--runs K]\n"
        "                     [--set NAME=VALUE]... [--population] [--out FILE] PROBLEM_FILE\n"
        "       quarmel-batch --help | --version\n"
        "\n"
        "Runs one algorithm on the problem of a data file (its solutions are ignored) and prints\n"
        "the run's solutions as CSV; with --runs, a summary of K runs with seeds N, N+1, ...\n"
        "Settings start as the option pages show them at start-up, with both delays 0:\n";
    std::string line;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingSpec& s = kSettings[i];
        if (s.Kind == SettingKind::Ignored) continue;
        const std::string entry = std::string(s.Name) + " (" + Range(s) + ")";
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
            std::uint32_t seed = 0;
            if (!ParseWhole(v, seed)) {
                throw BatchInputError("--seed needs a whole number from 0 to 4294967295, not '" +
                                      v + "'");
            }
            o.Seed = seed;
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
        } else if (name == "--out") {
            o.OutFile = value();
            if (o.OutFile->empty()) throw BatchInputError("--out needs a file name");
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
    if (o.Population && o.Algorithm != Genetic) {
        throw BatchInputError("--population is for --algorithm genetic only");
    }
    if (o.Population && o.RunsGiven) {
        throw BatchInputError("--population cannot be combined with --runs");
    }
    return o;
}

void StartSettings(AlgParameters& params) {
    StoreStartSettings(params);
    params.LocalSleep = 0;
    params.GeneticSleep = 0;
}

void ApplySetting(const SettingAssignment& setting, AlgParameters& params) {
    const SettingSpec* s = FindSettable(setting.Name);
    if (!s) throw BatchInputError("unknown setting '" + setting.Name + "'");
    if (s->Kind == SettingKind::Decimal) {
        double v = 0;
        if (!ParseDouble(setting.Value, v) || v < s->MinValue() || v > s->MaxValue()) {
            throw BatchInputError("setting " + setting.Name + " needs a number in " + Range(*s) +
                                  ", not '" + setting.Value + "'");
        }
        s->Store(params, v);
    } else {
        int v = 0;
        if (!ParseWhole(setting.Value, v) || v < s->MinValue() || v > s->MaxValue()) {
            throw BatchInputError("setting " + setting.Name + " needs a whole number in " +
                                  Range(*s) + ", not '" + setting.Value + "'");
        }
        s->Store(params, v);
    }
}

}  // namespace quarmel
