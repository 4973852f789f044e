#pragma once

#include "model/Problem.h"
#include "model/Solution.h"

#include <cstdint>
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
// goes idle on lists that miss the run's last step. `solutionsRun` is the number of the run whose
// published solutions runSolutions holds the beginning of (0 for none): for that run only the
// solutions published since are copied and appended, as a run's solution list only grows;
// for any other the list is copied whole and `solutionsRun` becomes the worker's. Whoever puts
// another list in runSolutions sets it to 0. The population is copied whole: the genetic
// algorithm replaces it every generation, and it holds at most the population size.
// `solutionsChange`, when given, receives how runSolutions changed.
template <class Worker>
bool PollRun(Worker* worker, bool ignoreRunResults, SolutionList& runSolutions,
             SolutionList& runPopulation, std::uint64_t& solutionsRun,
             ListChange* solutionsChange = nullptr) {
    if (solutionsChange) *solutionsChange = ListChange::None;
    if (worker == nullptr) return false;
    const bool finished = worker->IsFinished();
    if (!ignoreRunResults) {
        ListChange change = ListChange::None;
        if (solutionsRun != 0 && solutionsRun == worker->RunNumber()) {
            SolutionList tail = worker->SnapshotSolutionsFrom(runSolutions.Count());
            if (!tail.Empty()) change = ListChange::Grown;
            for (std::size_t i = 0; i < tail.Count(); ++i) runSolutions.Append(tail.At(i));
        } else {
            SolutionList solutions = worker->SnapshotSolutions();
            change = CompareSolutionLists(runSolutions, solutions);
            runSolutions = std::move(solutions);
            solutionsRun = worker->RunNumber();
        }
        if (solutionsChange) *solutionsChange = change;
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
