#pragma once

#include <cstdint>
#include <vector>

#include "algorithms/GeneticOperators.h"
#include "algorithms/LocalSearch.h"
#include "model/Algparameters.h"
#include "model/Improvement.h"
#include "model/Solution.h"

// The operators in by-value form, for tests and benchmarks: each takes its population by value
// and returns the result of the production ...Into form, with the same draws. Production code
// only calls the ...Into forms, which reuse their output's storage.
namespace quarmel::testing {

inline SolutionList TournamentSelection(SolutionList population, int tournamentSize,
                                        bool maximize) {
    SolutionList out;
    TournamentSelectionInto(population, out, tournamentSize, maximize);
    return out;
}

inline SolutionList RouletteSelection(SolutionList population, bool maximize) {
    SolutionList out;
    RouletteSelectionInto(population, out, maximize);
    return out;
}

inline SolutionList OnePointCrossover(SolutionList population, AlgParameters& params) {
    SolutionList out;
    OnePointCrossoverInto(population, out, params);
    return out;
}

inline SolutionList TwoPointCrossover(SolutionList population, AlgParameters& params) {
    SolutionList out;
    TwoPointCrossoverInto(population, out, params);
    return out;
}

inline SolutionList ArithmeticCrossover(SolutionList population, AlgParameters& params) {
    SolutionList out;
    ArithmeticCrossoverInto(population, out, params);
    return out;
}

inline SolutionList Mutate(SolutionList population, AlgParameters& params) {
    SolutionList out;
    MutateInto(population, out, params);
    return out;
}

// The candidate replaces the best so far only when it is strictly better; ties keep the best.
inline Solution KeepBetter(const Solution& best, const Solution& candidate, bool maximize) {
    return Improves(best.Value, candidate.Value, maximize) ? candidate : best;
}

// One neighbour move on its own (a Neighbourhood made for the single call).
inline void MakeNeighbour(const AlgParameters& params, const std::vector<float>& current,
                          std::uint64_t mask, std::vector<double>& candidate) {
    Neighbourhood(params).Make(current, mask, candidate);
}

}  // namespace quarmel::testing
