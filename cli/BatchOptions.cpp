#include "BatchOptions.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "app/NumberText.h"
#include "app/OptionTexts.h"

namespace quarmel {

const char* const kBatchUsage =
    "usage: quarmel-batch --algorithm greedy|steepest|annealing|genetic [--seed N] [--runs K]\n"
    "                     [--set NAME=VALUE]... [--population] [--out FILE] PROBLEM_FILE\n"
    "       quarmel-batch --help | --version\n"
    "\n"
    "Runs one algorithm on the problem of a data file (its solutions are ignored) and prints\n"
    "the run's solutions as CSV; with --runs, a summary of K runs with seeds N, N+1, ...\n"
    "Settings start as the option pages show them at start-up, with both delays 0:\n"
    "  A (0.001..1)  Temp0 (0..200)  TempPlus (0..100)  PercentAc (0..100)  Lk (0..100)\n"
    "  Alfa (0..1)  Stop (0..1)  PopSize (1..1000)  Iterations (1..1000)\n"
    "  TournamentSize (0..100)  COProbab (0..100)  COA (0..1)  MProbab (0..100)\n"
    "  SelectionType (0..1)  CrossoverType (0..2)  MutA (0.001..1)\n"
    "  LocalSleep (0..10000)  GeneticSleep (0..10000)\n";

namespace {

struct SettingRange {
    const char* Name;
    bool Integer;
    double Min;
    double Max;
    int AlgParameters::*IntField;
    float AlgParameters::*FloatField;
};

// The option pages' ranges.
const SettingRange kSettings[] = {
    {"A", false, 0.001, 1, nullptr, &AlgParameters::A},
    {"Temp0", true, 0, 200, &AlgParameters::Temp0, nullptr},
    {"TempPlus", true, 0, 100, &AlgParameters::TempPlus, nullptr},
    {"PercentAc", true, 0, 100, &AlgParameters::PercentAc, nullptr},
    {"Lk", true, 0, 100, &AlgParameters::Lk, nullptr},
    {"Alfa", false, 0, 1, nullptr, &AlgParameters::Alfa},
    {"Stop", false, 0, 1, nullptr, &AlgParameters::Stop},
    {"PopSize", true, 1, 1000, &AlgParameters::PopSize, nullptr},
    {"Iterations", true, 1, 1000, &AlgParameters::Iterations, nullptr},
    {"TournamentSize", true, 0, 100, &AlgParameters::TournamentSize, nullptr},
    {"COProbab", false, 0, 100, nullptr, &AlgParameters::COProbab},
    {"COA", false, 0, 1, nullptr, &AlgParameters::COA},
    {"MProbab", false, 0, 100, nullptr, &AlgParameters::MProbab},
    {"SelectionType", true, 0, 1, &AlgParameters::SelectionType, nullptr},
    {"CrossoverType", true, 0, 2, &AlgParameters::CrossoverType, nullptr},
    {"MutA", false, 0.001, 1, nullptr, &AlgParameters::MutA},
    {"LocalSleep", true, 0, 10000, &AlgParameters::LocalSleep, nullptr},
    {"GeneticSleep", true, 0, 10000, &AlgParameters::GeneticSleep, nullptr},
};

const SettingRange* FindSetting(const std::string& name) {
    for (const SettingRange& s : kSettings) {
        if (name == s.Name) return &s;
    }
    return nullptr;
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

const char* AlgorithmName(AlgorithmKind kind) {
    switch (kind) {
        case Greedy:
            return "greedy";
        case Steepest:
            return "steepest";
        case SimulatedAnnealing:
            return "annealing";
        case Genetic:
            return "genetic";
    }
    return "unknown";
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
            if (!FindSetting(s.Name)) throw BatchInputError("unknown setting '" + s.Name + "'");
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
    // The start-up texts always convert.
    ReadOptionTexts(OptionPageTexts{}, params);
    params.LocalSleep = 0;
    params.GeneticSleep = 0;
}

void ApplySetting(const SettingAssignment& setting, AlgParameters& params) {
    const SettingRange* s = FindSetting(setting.Name);
    if (!s) throw BatchInputError("unknown setting '" + setting.Name + "'");
    const std::string range = PrintfG(s->Min) + ".." + PrintfG(s->Max);
    if (s->Integer) {
        int v = 0;
        if (!ParseWhole(setting.Value, v) || v < s->Min || v > s->Max) {
            throw BatchInputError("setting " + setting.Name + " needs a whole number in " + range +
                                  ", not '" + setting.Value + "'");
        }
        params.*(s->IntField) = v;
    } else {
        double v = 0;
        if (!ParseDouble(setting.Value, v) || v < s->Min || v > s->Max) {
            throw BatchInputError("setting " + setting.Name + " needs a number in " + range +
                                  ", not '" + setting.Value + "'");
        }
        params.*(s->FloatField) = static_cast<float>(v);
    }
}

}  // namespace quarmel
