#include "algorithms/PagmoRun.h"

#include <cmath>
#include <memory>
#include <pagmo/population.hpp>
#include <pagmo/problem.hpp>
#include <pagmo/types.hpp>
#include <stdexcept>
#include <utility>

#include "model/Improvement.h"

namespace quarmel {
namespace {

// Thrown from a fitness call to end the run between generations.
struct RunHalted {};

// What the fitness calls share: pagmo copies the problem it is given, so every copy points here.
class Generations {
  public:
    Generations(AlgParameters& params, GeneticProgress& progress, RunControl& control,
                std::size_t size)
        : params_(params), progress_(progress), control_(control), size_(size) {
        points_.Reserve(size_, params.VariableCount());
    }

    double Evaluate(const pagmo::vector_double& x) {
        at_.resize(x.size());
        for (std::size_t i = 0; i < x.size(); ++i) at_[i] = static_cast<float>(x[i]);
        const double value = params_.Eval(x.data());
        const auto stored = static_cast<float>(value);
        points_.Append(at_.begin(), at_.end(), stored);
        if (!any_ || Improves(best_.Value, stored, params_.Maximize())) {
            any_ = true;
            best_.Values.assign(at_.begin(), at_.end());
            best_.Value = stored;
        }
        if (points_.Count() == size_) EndGeneration();
        return params_.Maximize() ? -value : value;
    }

  private:
    void EndGeneration() {
        auto generation = std::make_shared<const SolutionList>(std::move(points_));
        // As with the genetic algorithm, the history holds the best so far after each
        // generation, so the first population only shows.
        const bool evolved = !first_;
        first_ = false;
        control_.Publish([&] {
            if (evolved) progress_.History.Append(best_);
            std::swap(progress_.Population, generation);
        });
        points_ = SolutionList();
        points_.Reserve(size_, params_.VariableCount());
        control_.Sleep(params_.ReferenceSleep);
        control_.PassPauseGate();
        if (control_.StopRequested()) throw RunHalted{};
    }

    AlgParameters& params_;
    GeneticProgress& progress_;
    RunControl& control_;
    std::size_t size_;
    SolutionList points_;
    std::vector<float> at_;
    bool any_ = false;
    bool first_ = true;
    Solution best_;
};

// The problem as pagmo sees it.
struct PagmoProblem {
    Generations* generations = nullptr;
    pagmo::vector_double lower, upper;

    pagmo::vector_double fitness(const pagmo::vector_double& x) const {
        return {generations->Evaluate(x)};
    }
    std::pair<pagmo::vector_double, pagmo::vector_double> get_bounds() const {
        return {lower, upper};
    }
};

}  // namespace

void RunWithPagmo(AlgParameters& params, GeneticProgress& progress, RunControl& control, int size,
                  const std::function<void(pagmo::population&, unsigned)>& evolve) {
    control.Publish([&] {
        progress.History.Clear();
        progress.Population = std::make_shared<const SolutionList>();
    });
    if (params.Compile() != -1 || params.VariableCount() == 0 || size <= 0) return;
    PagmoProblem problem;
    for (const VariableSpec& v : params.Variables()) {
        // pagmo refuses bounds that are not numbers or the wrong way round: no run then.
        if (!std::isfinite(v.Min) || !std::isfinite(v.Max) || v.Min > v.Max) return;
        problem.lower.push_back(v.Min);
        problem.upper.push_back(v.Max);
    }
    Generations generations(params, progress, control, static_cast<std::size_t>(size));
    problem.generations = &generations;
    const unsigned seed = control.Seed();
    try {
        pagmo::population population(pagmo::problem(problem), static_cast<std::size_t>(size), seed);
        evolve(population, seed);
    } catch (const RunHalted&) {
        // Stopped between generations: what was published stays.
    } catch (const std::invalid_argument&) {
        // Settings pagmo refuses for this problem (a population too small for a variant):
        // the run ends with what it published.
    }
}

}  // namespace quarmel
