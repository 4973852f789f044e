#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "algorithms/GeneticOperators.h"
#include "algorithms/LocalSearch.h"
#include "model/Algparameters.h"
#include "model/Improvement.h"
#include "model/Solution.h"

// The operators in by-value form, for tests and benchmarks: each returns what the production
// ...Into form writes, with the same draws. Production code only calls the ...Into forms, which
// reuse their output's storage.
namespace quarmel::testing {

// The by-value form of the operator Into: ByValue<&MutateInto>{}(population, params).
template <auto Into>
struct ByValue {
    template <typename... Args>
    SolutionList operator()(const SolutionList& population, Args&&... args) const {
        SolutionList out;
        Into(population, out, std::forward<Args>(args)...);
        return out;
    }
};

inline constexpr ByValue<&TournamentSelectionInto> TournamentSelection{};
inline constexpr ByValue<&RouletteSelectionInto> RouletteSelection{};
inline constexpr ByValue<&OnePointCrossoverInto> OnePointCrossover{};
inline constexpr ByValue<&TwoPointCrossoverInto> TwoPointCrossover{};
inline constexpr ByValue<&ArithmeticCrossoverInto> ArithmeticCrossover{};
inline constexpr ByValue<&MutateInto> Mutate{};

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
