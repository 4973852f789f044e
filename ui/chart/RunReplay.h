#pragma once

#include <QObject>

#include <cstddef>
#include <memory>

#include "app/runs/ReplayState.h"
#include "model/Solution.h"
#include "ui/chart/ReplayBar.h"

namespace quarmel {

class ChartPage;
class ConvergencePlot;
class SolutionsPage;

// Replays the window's solution list once a run has ended or a file was opened: the Chart page's
// replay bar and keys move the step, the chart is given the path up to the step and the
// generation's population, the Solutions table selects the step's row and the convergence plot
// puts its cursor on it. It reads the window's list and never changes it.
class RunReplay : public QObject {
    Q_OBJECT

  public:
    // `plot` may be null.
    RunReplay(QObject* parent, const SolutionList& solutions, ChartPage* chart,
              SolutionsPage* solutionsPage, ConvergencePlot* plot);

    // A replay of the window's list as it is now; `plotted` when the list is the run the
    // convergence plot drew last, `generations` the run's populations when it kept them.
    void Begin(std::shared_ptr<const GenerationStore> generations, bool plotted);
    // Ends the replay: the bar goes and the chart shows the window's lists again.
    void Finish();
    // One chart tick: a playing replay moves on.
    void Tick(int periodMs);

    // What the chart shows: the replay's path and population while the user replays, the
    // window's own lists otherwise; and how the path changed since the last call.
    const SolutionList& ShownSolutions() const;
    const SolutionList& ShownPopulation(const SolutionList& runPopulation) const;
    ListChange TakePathChange();

    const ReplayState& State() const { return state_; }

  signals:
    // The user moved the step: the window redraws the chart now.
    void StepShown();

  private:
    void Run(ReplayCommand command);
    void Choose(std::size_t step);
    // Gives every view the state's step.
    void ShowStep();

    const SolutionList& solutions_;
    ChartPage* chart_;
    SolutionsPage* solutionsPage_;
    ConvergencePlot* plot_;
    bool plotted_ = false;
    ReplayState state_;
    SolutionList path_;
    SolutionList population_;
    ListChange pathChange_ = ListChange::None;
};

}  // namespace quarmel
