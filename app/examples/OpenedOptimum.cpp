#include "app/examples/OpenedOptimum.h"

#include <utility>

#include "app/examples/ProblemIdentity.h"

namespace quarmel {

void OpenedOptimum::Remember(std::optional<ExampleProblem> known, const Problem& problem) {
    // A file whose direction or variables differ from the catalogue's is another problem.
    known_ = known && ExampleFits(*known, problem) ? std::move(known) : std::nullopt;
    problem_ = ProblemKey(problem);
}

std::optional<ExampleProblem> OpenedOptimum::For(const Problem& problem) const {
    if (!known_ || ProblemKey(problem) != problem_) return std::nullopt;
    return known_;
}

}  // namespace quarmel
