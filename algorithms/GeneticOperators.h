#pragma once

#include <cstdint>

#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// The operators. Each reads the population and writes the result into out, reusing the storage
// out already has (out must not be the population itself). Draws come from the calling thread's
// generator; new points are evaluated with the parameters' compiled formula (so the parameters
// are not const).

// n tournaments of TournamentSize + 1 challengers each against a first draw, with replacement.
void TournamentSelectionInto(const SolutionList& population, SolutionList& out, int tournamentSize,
                             bool maximize);
// Roulette wheel over the distance of each value from the worst one.
void RouletteSelectionInto(const SolutionList& population, SolutionList& out, bool maximize);

// Pairs of consecutive participants are replaced by their two children. The last Solution never
// takes part; an unpaired participant is dropped, so the list may come back one shorter.
void OnePointCrossoverInto(const SolutionList& population, SolutionList& out,
                           AlgParameters& params);
void TwoPointCrossoverInto(const SolutionList& population, SolutionList& out,
                           AlgParameters& params);
void ArithmeticCrossoverInto(const SolutionList& population, SolutionList& out,
                             AlgParameters& params);

// Moves one value of each chosen Solution by a random step, reflected at the variable's bounds.
void MutateInto(const SolutionList& population, SolutionList& out, AlgParameters& params);

// best takes over population.Best(maximize) only when that is strictly better (ties keep best),
// reusing best's storage. The population is not empty.
void KeepBetterOf(Solution& best, const SolutionList& population, bool maximize);

// Seeds this thread's generator, compiles the formula and draws count Solutions on each
// variable's decimal grid. Empty when the formula does not compile or count is not above 0.
SolutionList CreatePopulation(AlgParameters& params, int count, std::uint32_t seed);

}  // namespace quarmel
