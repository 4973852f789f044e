#include "model/Settings.h"

#include <charconv>

namespace quarmel {

namespace {

using P = AlgParameters;
using G = SettingGroup;
constexpr SettingKind W = SettingKind::Whole;
constexpr SettingKind D = SettingKind::Decimal;
constexpr SettingKind C = SettingKind::Choice;

}  // namespace

const SettingGroupBox kSettingGroups[] = {
    {false, "GroupBoxLocalMain", "Main options"},
    {false, "GroupBoxNeighbourhood", "Neighbourhood size in local algorithms"},
    {false, "GroupBoxAnnealing", "Parameters of simulated annealing algorithm"},
    {true, "GroupBoxGeneticMain", "Main options"},
    {true, "GroupBoxSelection", "Selection"},
    {true, "GroupBoxCrossover", "Crossover"},
    {true, "GroupBoxMutation", "Mutation:"},
};

// clang-format off
const SettingSpec kSettings[] = {
    // name, kind, whole field, decimal field, bar range, step, bar start, start value,
    //   group, place, label, tick [, spoken name [, radio buttons]]
    {"A", D, nullptr, &P::A, 1, 1000, 0.001, 50, 0.05,
        G::LocalNeighbourhood, 20, "Range:", 10},
    {"Temp0", W, &P::Temp0, nullptr, 0, 200, 1, 100, 100,
        G::LocalAnnealing, 30, "Zero temperature:", 2},
    {"TempPlus", W, &P::TempPlus, nullptr, 0, 100, 1, 15, 15,
        G::LocalAnnealing, 40, "Heat speed:", 1},
    {"PercentAc", W, &P::PercentAc, nullptr, 0, 100, 1, 95, 95,
        G::LocalAnnealing, 50, "Acceptance of temperature:", 1},
    {"Lk", W, &P::Lk, nullptr, 0, 100, 1, 8, 8,
        G::LocalAnnealing, 60, "Neighbourhood size:", 1},
    {"Alfa", D, nullptr, &P::Alfa, 0, 100, 0.01, 96, 0.96,
        G::LocalAnnealing, 70, "Cooling speed:", 1},
    {"Stop", D, nullptr, &P::Stop, 0, 100, 0.01, 60, 0.6,
        G::LocalAnnealing, 80, "Sensitivity of algorithm stop:", 1},
    {"Ex", SettingKind::Ignored, nullptr, nullptr, 0, 0, 1, 0, 15,
        G::LocalAnnealing, 90, "Procent pomniejszenia ilosci zaakceptownych rozwiązań", 0},
    {"PopSize", W, &P::PopSize, nullptr, 1, 1000, 1, 500, 500,
        G::GeneticMain, 20, "Population size:", 10},
    {"Iterations", W, &P::Iterations, nullptr, 1, 1000, 1, 100, 200,
        G::GeneticMain, 10, "Number of iterations:", 10},
    {"TournamentSize", W, &P::TournamentSize, nullptr, 0, 100, 1, 5, 5,
        G::GeneticSelection, 50, "Tournament size:", 1},
    {"COProbab", D, nullptr, &P::COProbab, 0, 100, 1, 30, 30,
        G::GeneticCrossover, 80, "Probability:", 1, "Crossover probability"},
    {"COA", D, nullptr, &P::COA, 0, 100, 0.01, 60, 0.6,
        G::GeneticCrossover, 70, "Arithmetic crossover ratio:", 1},
    {"MProbab", D, nullptr, &P::MProbab, 0, 100, 1, 40, 40,
        G::GeneticMutation, 100, "Probability:", 1, "Mutation probability"},
    {"MutA", D, nullptr, &P::MutA, 1, 1000, 0.001, 10, 0.01,
        G::GeneticMutation, 90, "Range:", 10, "Mutation range"},
    {"SelectionType", C, &P::SelectionType, nullptr, 0, 1, 1, 0, 0,
        G::GeneticSelection, 40, "Type:", 0, nullptr,
        {{"RadioButtonTournament", "Tournament"}, {"RadioButtonRoulette", "Roulette wheel"}}},
    {"CrossoverType", C, &P::CrossoverType, nullptr, 0, 2, 1, 2, 2,
        G::GeneticCrossover, 60, "Type:", 0, nullptr,
        {{"RadioButton1Point", "1 - point"}, {"RadioButton2Point", "2 - point"},
         {"RadioButtonArithmetic", "Arithmetic uniform"}}},
    {"LocalSleep", W, &P::LocalSleep, nullptr, 0, 10000, 1, 500, 200,
        G::LocalMain, 10, "Delay [ms]:", 100},
    {"GeneticSleep", W, &P::GeneticSleep, nullptr, 0, 10000, 1, 1500, 1500,
        G::GeneticMain, 30, "Delay [ms]:", 100},
};
// clang-format on
const std::size_t kSettingCount = std::size(kSettings);

void SettingSpec::Store(AlgParameters& params, double value) const {
    if (WholeField) params.*WholeField = static_cast<int>(value);
    if (DecimalField) params.*DecimalField = static_cast<float>(value);
}

namespace {

template <class T>
std::string Shortest(T value) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

bool CountsAsSetting(const SettingSpec& s) {
    return s.Kind != SettingKind::Ignored && s.WholeField != &AlgParameters::LocalSleep &&
           s.WholeField != &AlgParameters::GeneticSleep;
}

template <class Counted>
std::string ChangedSettings(const AlgParameters& params, Counted counted) {
    const AlgParameters start;
    std::string text;
    for (const SettingSpec& s : kSettings) {
        if (!counted(s)) continue;
        std::string value;
        if (s.Kind == SettingKind::Decimal) {
            if (params.*s.DecimalField == start.*s.DecimalField) continue;
            value = Shortest(params.*s.DecimalField);
        } else {
            if (params.*s.WholeField == start.*s.WholeField) continue;
            value = Shortest(params.*s.WholeField);
        }
        if (!text.empty()) text += ";";
        text += std::string(s.Name) + "=" + value;
    }
    return text;
}

}  // namespace

std::string ChangedSettingsText(const AlgParameters& params) {
    return ChangedSettings(params, CountsAsSetting);
}

bool SettingUsedBy(const SettingSpec& s, AlgorithmKind kind, const AlgParameters& params) {
    if (!CountsAsSetting(s)) return false;
    if (kind == Genetic) {
        if (s.WholeField == &AlgParameters::TournamentSize) return params.SelectionType == 0;
        if (s.DecimalField == &AlgParameters::COA) return params.CrossoverType == 2;
        return GroupOf(s.Group).Genetic;
    }
    if (s.Group == SettingGroup::LocalNeighbourhood)
        return kind >= Greedy && kind <= SimulatedAnnealing;
    return s.Group == SettingGroup::LocalAnnealing && kind == SimulatedAnnealing;
}

std::string ChangedSettingsText(const AlgParameters& params, AlgorithmKind kind) {
    return ChangedSettings(params,
                           [&](const SettingSpec& s) { return SettingUsedBy(s, kind, params); });
}

const SettingSpec* FindSetting(std::string_view name) {
    for (const SettingSpec& s : kSettings) {
        if (name == s.Name) return &s;
    }
    return nullptr;
}

void StoreStartSettings(AlgParameters& params) {
    for (const SettingSpec& s : kSettings) s.Store(params, s.Start);
}

AlgParameters::AlgParameters() {
    StoreStartSettings(*this);
}

}  // namespace quarmel
