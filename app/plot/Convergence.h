#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/Algparameters.h"
#include "model/Problem.h"
#include "model/Solution.h"

namespace quarmel {

// A mean of the genetic population at one generation.
struct GenerationMean {
    std::size_t Generation = 0;
    double Mean = 0.0;
};

// One run's convergence curve, taken in tick by tick from the run's published list: the value
// of each published solution (a step of a local search, a generation's best of the genetic
// algorithm), the evaluations made by its publishing and the best so far by the improvement
// rule; for the genetic algorithm also the population's mean at the generations a tick saw. Only
// what is new since the last tick is looked at.
class ConvergenceCurve {
  public:
    explicit ConvergenceCurve(bool maximize = false) : maximize_(maximize) {}

    // Takes in the solutions of `list` past those already taken, `evaluations` holding the
    // evaluations made by the publishing of each, from the first new one on; a solution whose
    // count is not there yet waits for the next call. Returns how many were new.
    std::size_t Update(const SolutionList& list,
                       const std::vector<unsigned long long>& evaluations);
    // Records the mean value of `population` for the latest generation (the curve's last
    // point); a generation already recorded, or an empty population, adds nothing. Values that
    // are not numbers are left out of the mean.
    bool AddPopulationMean(const SolutionList& population);

    std::size_t Count() const { return values_.size(); }
    const std::vector<float>& Values() const { return values_; }
    const std::vector<float>& BestSoFar() const { return best_; }
    const std::vector<unsigned long long>& Evaluations() const { return evaluations_; }
    const std::vector<GenerationMean>& Means() const { return means_; }
    bool Maximize() const { return maximize_; }

  private:
    bool maximize_;
    std::vector<float> values_;
    std::vector<float> best_;
    std::vector<unsigned long long> evaluations_;
    std::vector<GenerationMean> means_;
};

// A series' label in a comparison: the algorithm and its changed settings, "genetic PopSize=50",
// "greedy".
std::string SeriesLabel(AlgorithmKind kind, const std::string& changedSettings);

// A run's label in a comparison, unique by its number: "#3 genetic PopSize=50 seed 7",
// "#4 greedy seed 12".
std::string RunLabel(int number, AlgorithmKind kind, const std::string& changedSettings,
                     std::uint32_t seed);

}  // namespace quarmel
