#include "ui/chart/RunReplay.h"

#include <utility>

#include "ui/chart/ChartPage.h"
#include "ui/chart/PanelChart.h"
#include "ui/mainwindow/SolutionsPage.h"
#include "ui/plots/ConvergencePlot.h"

namespace quarmel {

RunReplay::RunReplay(QObject* parent, const SolutionList& solutions, ChartPage* chart,
                     SolutionsPage* solutionsPage, ConvergencePlot* plot)
    : QObject(parent),
      solutions_(solutions),
      chart_(chart),
      solutionsPage_(solutionsPage),
      plot_(plot) {
    ReplayBar* bar = chart_->ReplayControls();
    bar->TakeKeysFrom(chart_->Panel());
    connect(bar, &ReplayBar::Command, this, &RunReplay::Run);
    connect(bar, &ReplayBar::StepChosen, this, &RunReplay::Choose);
}

void RunReplay::Begin(std::shared_ptr<const GenerationStore> generations, bool plotted) {
    Finish();
    if (solutions_.Empty()) return;
    state_.Begin(solutions_.Count(), std::move(generations));
    plotted_ = plotted;
    chart_->ShowReplayBar(true);
    ShowStep();
}

void RunReplay::Finish() {
    if (!state_.Available()) return;
    state_.Finish();
    path_.Clear();
    population_.Clear();
    pathChange_ = ListChange::Replaced;
    if (plot_ && plotted_) plot_->SetCursor(std::nullopt);
    plotted_ = false;
    chart_->ShowReplayBar(false);
}

void RunReplay::Tick(int periodMs) {
    if (state_.Advance(periodMs)) ShowStep();
}

const SolutionList& RunReplay::ShownSolutions() const {
    return state_.Engaged() ? path_ : solutions_;
}

const SolutionList& RunReplay::ShownPopulation(const SolutionList& runPopulation) const {
    return state_.Engaged() ? population_ : runPopulation;
}

ListChange RunReplay::TakePathChange() {
    return std::exchange(pathChange_, ListChange::None);
}

void RunReplay::Run(ReplayCommand command) {
    if (command == ReplayCommand::PlayPause) {
        state_.SetPlaying(!state_.Playing());
        ShowStep();
        emit StepShown();
        return;
    }
    state_.SetPlaying(false);
    bool changed = false;
    switch (command) {
        case ReplayCommand::Previous:
            changed = state_.Previous();
            break;
        case ReplayCommand::Next:
            changed = state_.Next();
            break;
        case ReplayCommand::First:
            changed = state_.First();
            break;
        case ReplayCommand::Last:
            changed = state_.ToLast();
            break;
        case ReplayCommand::PlayPause:
            break;
    }
    ShowStep();
    if (changed) emit StepShown();
}

void RunReplay::Choose(std::size_t step) {
    state_.SetPlaying(false);
    const bool changed = state_.SetStep(step);
    ShowStep();
    if (changed) emit StepShown();
}

void RunReplay::ShowStep() {
    const GenerationStore* generations = state_.Generations();
    QString hint =
        "Replay: Left and Right step, Home and End go to the first and last step, Space plays";
    const std::string kept = ReplayGenerationsText(generations);
    if (!kept.empty()) hint += "\n" + QString::fromStdString(kept);
    chart_->ReplayControls()->Show(state_, hint);
    if (!state_.Engaged()) return;
    const std::size_t step = state_.Step();
    pathChange_ = CombineChanges(pathChange_, FollowPath(solutions_, step + 1, path_));
    population_ = generations ? generations->Population(step) : SolutionList();
    solutionsPage_->SelectSolution(step);
    if (plot_ && plotted_) plot_->SetCursor(step);
}

}  // namespace quarmel
