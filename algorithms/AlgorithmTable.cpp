#include "algorithms/AlgorithmTable.h"

#include "algorithms/Annealing.h"
#include "algorithms/Cmaes.h"
#include "algorithms/DifferentialEvolution.h"
#include "algorithms/Greedy.h"
#include "algorithms/ParticleSwarm.h"
#include "algorithms/RandomSearch.h"
#include "algorithms/Steepest.h"

namespace quarmel {
namespace {

constexpr unsigned Bit(SettingGroup group) {
    return 1u << static_cast<unsigned>(group);
}
using G = SettingGroup;
using P = AlgParameters;

// The genetic algorithm reads the tournament's size only with tournament selection and the
// arithmetic ratio only with arithmetic crossover.
bool GeneticReads(const SettingSpec& s, const AlgParameters& params) {
    if (s.WholeField == &AlgParameters::TournamentSize) return params.SelectionType == 0;
    if (s.DecimalField == &AlgParameters::COA) return params.CrossoverType == 2;
    return true;
}

void GreedyRun(P& params, SolutionList& path, GeneticProgress&, RunControl& control) {
    RunGreedy(params, path, control);
}
void SteepestRun(P& params, SolutionList& path, GeneticProgress&, RunControl& control) {
    RunSteepest(params, path, control);
}
void AnnealingRun(P& params, SolutionList& path, GeneticProgress&, RunControl& control) {
    RunAnnealing(params, path, control);
}
void GeneticRun(P& params, SolutionList&, GeneticProgress& progress, RunControl& control) {
    RunGenetic(progress, params, control);
}

}  // namespace

// clang-format off
const AlgorithmRow kAlgorithms[] = {
    // key, caption, setting groups, which of them, population, generations, status texts,
    //   colour, run, reference
    {"greedy", "&Greedy", Bit(G::LocalNeighbourhood), nullptr, false, nullptr,
        "Greedy algorithm is running ...", "Greedy algorithm is paused", 0x1f77b4, GreedyRun, false},
    {"steepest", "&Steepest", Bit(G::LocalNeighbourhood), nullptr, false, nullptr,
        "Steepest algorithm is running ...", "Steepest algorithm is paused", 0xff7f0e, SteepestRun,
        false},
    {"annealing", "Simulated &annealing", Bit(G::LocalNeighbourhood) | Bit(G::LocalAnnealing),
        nullptr, false, nullptr, "Simulated Annealing algorithm is running ...",
        "Simulated Annealing algorithm is paused", 0x2ca02c, AnnealingRun, false},
    {"genetic", "G&enetic", Bit(G::GeneticMain) | Bit(G::GeneticSelection) |
        Bit(G::GeneticCrossover) | Bit(G::GeneticMutation), GeneticReads, true, &P::Iterations,
        "Genetic algorithm is running ...", "Genetic algorithm is paused", 0xd62728, GeneticRun, false},
    {"random", "Random searc&h", Bit(G::RandomSearch), nullptr, false, nullptr,
        "Random search is running ...", "Random search is paused", 0x7f7f7f, RunRandomSearch, true},
    {"cmaes", "C&MA-ES", Bit(G::Cmaes), nullptr, true, &P::CmaGenerations,
        "CMA-ES is running ...", "CMA-ES is paused", 0x9467bd, RunCmaes, true},
    {"de", "&Differential evolution", Bit(G::DifferentialEvolution), nullptr, true,
        &P::DeGenerations, "Differential evolution is running ...",
        "Differential evolution is paused", 0x8c564b, RunDifferentialEvolution, true},
    {"pso", "&Particle swarm", Bit(G::ParticleSwarm), nullptr, true, &P::PsoGenerations,
        "Particle swarm is running ...", "Particle swarm is paused", 0xe377c2, RunParticleSwarm,
        true},
};
// clang-format on
const std::size_t kAlgorithmCount = std::size(kAlgorithms);

const char* AlgorithmName(AlgorithmKind kind) {
    return IsAlgorithm(kind) ? AlgorithmOf(kind).Key : "unknown";
}

std::string AlgorithmTitle(AlgorithmKind kind) {
    std::string title;
    for (const char* c = AlgorithmOf(kind).Caption; *c; ++c) {
        if (*c != '&') title += *c;
    }
    return title;
}

std::string SettingsReadAtStart(AlgorithmKind kind, std::string_view separator) {
    const AlgParameters start;
    std::string names;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        if (!SettingUsedBy(kSettings[i], kind, start)) continue;
        if (!names.empty()) names += separator;
        names += kSettings[i].Name;
    }
    return names;
}

int FindAlgorithm(std::string_view key) {
    for (std::size_t i = 0; i < kAlgorithmCount; ++i) {
        if (key == kAlgorithms[i].Key) return static_cast<int>(i);
    }
    return -1;
}

std::string AlgorithmKeys(std::string_view separator) {
    std::string keys;
    for (const AlgorithmRow& row : kAlgorithms) {
        if (!keys.empty()) keys += separator;
        keys += row.Key;
    }
    return keys;
}

bool SettingMayBeReadBy(const SettingSpec& s, AlgorithmKind kind) {
    return IsAlgorithm(kind) && CountsAsSetting(s) && (AlgorithmOf(kind).Groups & Bit(s.Group));
}

bool SettingUsedBy(const SettingSpec& s, AlgorithmKind kind, const AlgParameters& params) {
    if (!SettingMayBeReadBy(s, kind)) return false;
    const AlgorithmRow& row = AlgorithmOf(kind);
    return !row.Reads || row.Reads(s, params);
}

std::string ChangedSettingsText(const AlgParameters& params, AlgorithmKind kind) {
    return ChangedSettingsText(
        params, [&](const SettingSpec& s) { return SettingUsedBy(s, kind, params); });
}

}  // namespace quarmel
