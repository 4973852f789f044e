#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/examples/ExampleCatalogue.h"
#include "model/Problem.h"

namespace quarmel {

// What a catalogue knows of the problem a data file opened, kept for as long as the window's
// problem is still that one: a changed formula, variable, range or direction makes the optimum
// no longer apply, and it is given no more.
class OpenedOptimum {
  public:
    // Takes what the catalogue says of `problem`, just read from a file; none, or an example of
    // another direction or number of variables, forgets.
    void Remember(std::optional<ExampleProblem> known, const Problem& problem);
    void Forget() { known_.reset(); }
    // The example while `problem` has the remembered formula, variables with their ranges and
    // direction; none otherwise.
    std::optional<ExampleProblem> For(const Problem& problem) const;

  private:
    std::optional<ExampleProblem> known_;
    std::string problem_;  // its ProblemKey
};

}  // namespace quarmel
