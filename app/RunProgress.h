#pragma once

#include "model/Problem.h"
#include "model/Solution.h"

#include <string>
#include <utility>

namespace quarmel {

// How a solution list differs from the one it replaces: not at all, by solutions added at its
// end, or otherwise.
enum class ListChange { None, Grown, Replaced };

// Compares the lists solution by solution; numbers compare by their bits, so a list holding
// not-a-number values is unchanged when it is copied again.
ListChange CompareSolutionLists(const SolutionList& before, const SolutionList& after);

// Two changes one after the other, as one change.
ListChange CombineChanges(ListChange first, ListChange then);

// Takes the run's current lists from the worker unless the window ignores the run's results,
// and tells whether the run has ended. Whether the worker had finished is asked before the
// snapshots: a snapshot taken after the worker finished is its final state, so the window never
// goes idle on lists that miss the run's last step. `solutionsChange`, when given, receives how
// runSolutions changed.
template <class Worker>
bool PollRun(Worker* worker, bool ignoreRunResults, SolutionList& runSolutions,
             SolutionList& runPopulation, ListChange* solutionsChange = nullptr) {
    if (solutionsChange) *solutionsChange = ListChange::None;
    if (worker == nullptr) return false;
    const bool finished = worker->IsFinished();
    if (!ignoreRunResults) {
        SolutionList solutions = worker->SnapshotSolutions();
        if (solutionsChange) *solutionsChange = CompareSolutionLists(runSolutions, solutions);
        runSolutions = std::move(solutions);
        runPopulation = worker->SnapshotPopulation();
    }
    return finished;
}

// The texts of the two result labels (seven significant digits, decimal comma); empty for an
// empty list. The best value follows the
// improvement rule: a later value replaces the best when it improves on it.
std::string InitialSolutionText(const SolutionList& solutions);
std::string OptimalSolutionText(const SolutionList& solutions, bool maximize);

// A run needs room to move in every variable: the message that refuses a run whose problem has a
// variable with a maximum not above its minimum (naming the first one), or an empty text.
std::string UnusableRangeMessage(const Problem& problem);

}  // namespace quarmel
