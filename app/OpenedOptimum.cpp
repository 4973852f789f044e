#include "app/OpenedOptimum.h"

#include <algorithm>
#include <utility>

namespace quarmel {

void OpenedOptimum::Remember(std::optional<ExampleProblem> known, const Problem& problem) {
    // A file whose direction or variables differ from the catalogue's is another problem.
    known_ = known && ExampleFits(*known, problem) ? std::move(known) : std::nullopt;
    formula_ = problem.FunctionText();
    variables_ = problem.Variables();
    maximize_ = problem.Maximize();
}

std::optional<ExampleProblem> OpenedOptimum::For(const Problem& problem) const {
    if (!known_ || problem.FunctionText() != formula_ || problem.Maximize() != maximize_) {
        return std::nullopt;
    }
    const auto sameRange = [](const VariableSpec& a, const VariableSpec& b) {
        return a.Name == b.Name && a.Min == b.Min && a.Max == b.Max;
    };
    const std::vector<VariableSpec>& now = problem.Variables();
    if (!std::equal(now.begin(), now.end(), variables_.begin(), variables_.end(), sameRange)) {
        return std::nullopt;
    }
    return known_;
}

}  // namespace quarmel
