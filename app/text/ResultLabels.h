#pragma once

#include <cstddef>
#include <string>

#include "app/runs/RunProgress.h"
#include "model/Solution.h"

namespace quarmel {

// Keeps the texts of the two result labels in step with the window's solution list at a cost
// that follows what is new: the first value, and the best by the improvement rule over the
// solutions read so far. A run's list only grows, so while it does only the solutions added
// since the last update are read; a replaced or shorter list, the other direction or a Rebuild
// read the whole list again. The texts are those of InitialSolutionText and OptimalSolutionText.
class ResultLabels {
  public:
    // How the list changed since the previous note, as PollRun reports it; the changes between
    // two updates add up.
    void Note(ListChange change) { pending_ = CombineChanges(pending_, change); }
    // The next update reads the whole list.
    void Rebuild() { pending_ = ListChange::Replaced; }
    // Brings the texts up to `solutions`, searched for the best in the given direction.
    void Update(const SolutionList& solutions, bool maximize);

    // Empty for an empty list.
    const std::string& InitialText() const { return initialText_; }
    const std::string& OptimalText() const { return optimalText_; }
    // The values behind the texts, while they are not empty.
    float InitialValue() const { return initial_; }
    float OptimalValue() const { return best_; }

  private:
    ListChange pending_ = ListChange::Replaced;
    std::size_t read_ = 0;  // solutions the best was taken over
    bool maximize_ = false;
    float best_ = 0.0f;
    float initial_ = 0.0f;
    std::string initialText_, optimalText_;
};

}  // namespace quarmel
