#pragma once

#include "model/Solution.h"

#include <string>
#include <vector>

namespace quarmel {

// Takes the run's current lists from the worker unless the window ignores the run's results,
// and tells whether the run has ended. Whether the worker had finished is asked before the
// snapshots: a snapshot taken after the worker finished is its final state, so the window never
// goes idle on lists that miss the run's last step.
template <class Worker>
bool PollRun(Worker* worker, bool ignoreRunResults, SolutionList& runSolutions,
             SolutionList& runPopulation) {
    if (worker == nullptr) return false;
    const bool finished = worker->IsFinished();
    if (!ignoreRunResults) {
        runSolutions = worker->SnapshotSolutions();
        runPopulation = worker->SnapshotPopulation();
    }
    return finished;
}

// The chart axes the markers are built for. An axis is present when its display range is not
// 0 .. 0; the Y axis is used only when present.
struct MarkerAxes {
    int AxisXVariable = 0;
    int AxisYVariable = 0;
    float DisplayXMin = 0.0f;
    float DisplayXMax = 0.0f;
    float DisplayYMin = 0.0f;
    float DisplayYMax = 0.0f;

    bool HasX() const { return DisplayXMax != 0.0f || DisplayXMin != 0.0f; }
    bool HasY() const { return DisplayYMax != 0.0f || DisplayYMin != 0.0f; }
};

// Marker point lists: (x, y, f) triples with a Y axis, (x, f) pairs with only an X axis. Without
// any axis the solutions give the first function value once and the population gives it once per
// member. A Solution too short for the chosen axes (a list from another problem) is left out.
std::vector<float> SolutionMarkers(const SolutionList& solutions, const MarkerAxes& axes);
std::vector<float> PopulationMarkers(const SolutionList& population, const MarkerAxes& axes);

// General number format with the given significant digits and a decimal comma: fixed notation
// unless the value needs more digits before the comma or is smaller than 0.00001 in size.
std::string GeneralNumberText(double value, int digits);

// The texts of the two result labels; empty for an empty list. The best value follows the
// improvement rule: a later value replaces the best when it improves on it.
std::string InitialSolutionText(const SolutionList& solutions);
std::string OptimalSolutionText(const SolutionList& solutions, bool maximize);

}  // namespace quarmel
