#include "model/Settings.h"

#include <charconv>

#include "model/RoundTripText.h"

namespace quarmel {

namespace {

using P = AlgParameters;
using G = SettingGroup;
constexpr SettingKind W = SettingKind::Whole;
constexpr SettingKind D = SettingKind::Decimal;
constexpr SettingKind C = SettingKind::Choice;

}  // namespace

const SettingGroupBox kSettingGroups[] = {
    {SettingPage::Local, "GroupBoxLocalMain", "Main options"},
    {SettingPage::Local, "GroupBoxNeighbourhood", "Neighbourhood size in local algorithms"},
    {SettingPage::Local, "GroupBoxAnnealing", "Parameters of simulated annealing algorithm"},
    {SettingPage::Genetic, "GroupBoxGeneticMain", "Main options"},
    {SettingPage::Genetic, "GroupBoxSelection", "Selection"},
    {SettingPage::Genetic, "GroupBoxCrossover", "Crossover"},
    {SettingPage::Genetic, "GroupBoxMutation", "Mutation:"},
    {SettingPage::References, "GroupBoxReferenceMain", "Main options"},
    {SettingPage::References, "GroupBoxRandomSearch", "Random search"},
    {SettingPage::References, "GroupBoxCmaes", "CMA-ES (pagmo2)"},
    {SettingPage::References, "GroupBoxDifferentialEvolution", "Differential evolution (pagmo2)"},
    {SettingPage::References, "GroupBoxParticleSwarm", "Particle swarm (pagmo2)"},
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
    // The reference algorithms. The population-based ones take pagmo2's defaults for their
    // parameters; their tolerances start at 0, so that the generations or the budget end a run
    // rather than a stall far above a benchmarking target.
    {"ReferenceSleep", W, &P::ReferenceSleep, nullptr, 0, 10000, 1, 200, 200,
        G::ReferenceMain, 10, "Delay [ms]:", 100, "Reference algorithms' delay"},
    {"RandomSamples", W, &P::RandomSamples, nullptr, 1, 10000, 100, 100, 10000,
        G::RandomSearch, 10, "Samples:", 100},
    {"CmaPopSize", W, &P::CmaPopSize, nullptr, 5, 1000, 1, 20, 20,
        G::Cmaes, 10, "Population size:", 10, "CMA-ES population size"},
    {"CmaGenerations", W, &P::CmaGenerations, nullptr, 1, 10000, 1, 1000, 1000,
        G::Cmaes, 20, "Generations:", 100, "CMA-ES generations"},
    {"CmaSigma0", D, nullptr, &P::CmaSigma0, 1, 100, 0.01, 50, 0.5,
        G::Cmaes, 30, "Initial step size:", 10},
    {"CmaFtol", D, nullptr, &P::CmaFtol, 0, 1000, 1e-9, 0, 0,
        G::Cmaes, 40, "Value tolerance:", 100, "CMA-ES value tolerance"},
    {"CmaXtol", D, nullptr, &P::CmaXtol, 0, 1000, 1e-9, 0, 0,
        G::Cmaes, 50, "Position tolerance:", 100, "CMA-ES position tolerance"},
    {"DePopSize", W, &P::DePopSize, nullptr, 7, 1000, 1, 20, 20,
        G::DifferentialEvolution, 10, "Population size:", 10, "Differential evolution population size"},
    {"DeGenerations", W, &P::DeGenerations, nullptr, 1, 10000, 1, 1000, 1000,
        G::DifferentialEvolution, 20, "Generations:", 100, "Differential evolution generations"},
    {"DeF", D, nullptr, &P::DeF, 0, 100, 0.01, 80, 0.8,
        G::DifferentialEvolution, 30, "Weight F:", 10},
    {"DeCR", D, nullptr, &P::DeCR, 0, 100, 0.01, 90, 0.9,
        G::DifferentialEvolution, 40, "Crossover probability CR:", 10},
    {"DeVariant", W, &P::DeVariant, nullptr, 1, 10, 1, 2, 2,
        G::DifferentialEvolution, 50, "Variant:", 1, "Differential evolution variant"},
    {"DeFtol", D, nullptr, &P::DeFtol, 0, 1000, 1e-9, 0, 0,
        G::DifferentialEvolution, 60, "Value tolerance:", 100, "Differential evolution value tolerance"},
    {"DeXtol", D, nullptr, &P::DeXtol, 0, 1000, 1e-9, 0, 0,
        G::DifferentialEvolution, 70, "Position tolerance:", 100,
        "Differential evolution position tolerance"},
    {"PsoPopSize", W, &P::PsoPopSize, nullptr, 2, 1000, 1, 20, 20,
        G::ParticleSwarm, 10, "Population size:", 10, "Particle swarm population size"},
    {"PsoGenerations", W, &P::PsoGenerations, nullptr, 1, 10000, 1, 1000, 1000,
        G::ParticleSwarm, 20, "Generations:", 100, "Particle swarm generations"},
    {"PsoOmega", D, nullptr, &P::PsoOmega, 0, 10000, 0.0001, 7298, 0.7298,
        G::ParticleSwarm, 30, "Inertia / constriction:", 1000},
    {"PsoEta1", D, nullptr, &P::PsoEta1, 0, 400, 0.01, 205, 2.05,
        G::ParticleSwarm, 40, "Pull to own best:", 10},
    {"PsoEta2", D, nullptr, &P::PsoEta2, 0, 400, 0.01, 205, 2.05,
        G::ParticleSwarm, 50, "Pull to neighbours' best:", 10},
    {"PsoMaxVel", D, nullptr, &P::PsoMaxVel, 1, 100, 0.01, 50, 0.5,
        G::ParticleSwarm, 60, "Largest velocity:", 10},
    {"PsoVariant", W, &P::PsoVariant, nullptr, 1, 6, 1, 5, 5,
        G::ParticleSwarm, 70, "Variant:", 1, "Particle swarm variant"},
};
// clang-format on
const std::size_t kSettingCount = std::size(kSettings);

bool CountsAsSetting(const SettingSpec& s) {
    return s.Kind != SettingKind::Ignored && s.WholeField != &AlgParameters::LocalSleep &&
           s.WholeField != &AlgParameters::GeneticSleep &&
           s.WholeField != &AlgParameters::ReferenceSleep;
}

void SettingSpec::Store(AlgParameters& params, double value) const {
    if (WholeField) params.*WholeField = static_cast<int>(value);
    if (DecimalField) params.*DecimalField = static_cast<float>(value);
}

std::string ChangedSettingsText(const AlgParameters& params) {
    return ChangedSettingsText(params, CountsAsSetting);
}

std::string ChangedSettingsText(const AlgParameters& params,
                                const std::function<bool(const SettingSpec&)>& counted) {
    const AlgParameters start;
    std::string text;
    for (const SettingSpec& s : kSettings) {
        if (!counted(s)) continue;
        std::string value;
        if (s.Kind == SettingKind::Decimal) {
            if (params.*s.DecimalField == start.*s.DecimalField) continue;
            value = RoundTripText(params.*s.DecimalField);
        } else {
            if (params.*s.WholeField == start.*s.WholeField) continue;
            value = RoundTripText(params.*s.WholeField);
        }
        if (!text.empty()) text += ";";
        text += std::string(s.Name) + "=" + value;
    }
    return text;
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
