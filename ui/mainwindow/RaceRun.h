#pragma once

#include <QObject>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/runs/RaceLanes.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QStatusBar;

namespace quarmel {

class ChartPage;
class GenerationStore;
class OptimizationThread;
class RunComparison;

// Runs > Race...: several algorithms at once from the same seed on the current problem. The first
// lane is the window's own run (its Solutions page, plot curve and Save follow it); the others run
// on workers of their own here. The chart draws every lane's path in the colour the convergence
// plot gives its run (RunColour of its number there), with a legend of the lanes' best values;
// the status line counts the lanes still running. Once the race is over, a lane chosen in the
// legend or on the replay bar becomes the plot's current run and the one the window shows,
// saves and replays.
class RaceRun : public QObject {
    Q_OBJECT

  public:
    // Starts the window's own run of `kind` from `seed`; false when it was refused.
    using StartFirst = std::function<bool(AlgorithmKind kind, std::uint32_t seed)>;

    // `params` is the window's problem and settings, which the other lanes copy when they start.
    RaceRun(QWidget* window, QMenu* runsMenu, ChartPage* chart, QStatusBar* bar,
            RunComparison* comparison, const AlgParameters& params, StartFirst startFirst);
    ~RaceRun() override;

    QAction* Item() const { return item_; }
    // Starts a race; the first kind is the window's run. Public for the dialog's OK.
    void Start(const std::vector<AlgorithmKind>& kinds, std::uint32_t seed);
    // Forgets the last race's legend, lane choice and populations (a plain run has started or a
    // file was opened).
    void Forget();
    // Polls the other lanes and shows every lane: `first` is the window's run's list.
    void Tick(const SolutionList& first, bool firstFinished);
    // Whether a lane still runs.
    bool Running() const { return lanes_.Running(); }
    void SetPaused(bool paused);
    // The race is over (all lanes ended, or Stop): the other lanes stop and become finished runs
    // in the runs table, after the window's run, whose populations are `firstGenerations`.
    void End(std::shared_ptr<const GenerationStore> firstGenerations = nullptr);
    const RaceLanes& Lanes() const { return lanes_; }
    // Once the race has ended, a lane chosen is handed to `show` with its populations when kept
    // (the window shows and replays its solutions, and Save saves them).
    using ShowLane =
        std::function<void(const SolutionList&, std::shared_ptr<const GenerationStore>)>;
    void OnLaneChosen(ShowLane show) { show_ = std::move(show); }

  private:
    void OpenDialog();
    // The legend and the status line; the chart's paths too when `pathsGrew`, and while the
    // race runs the lanes' populations and the first lane's colour for the window's run.
    void ShowLanes(bool pathsGrew);
    void ChooseLane(std::size_t lane);
    // A lane's colour: its run's in the convergence plot.
    std::array<std::uint8_t, 3> LaneColour(std::size_t lane) const;
    // The replay bar's choice of lanes, once the race is over (none before).
    void OfferLanes();

    struct Lane {
        std::shared_ptr<OptimizationThread> Worker;
        std::shared_ptr<SolutionList> Solutions = std::make_shared<SolutionList>();
        std::shared_ptr<const GenerationStore> Generations;
        SolutionList Population;  // as of the last poll; empty for a lane without one
    };

    QWidget* window_;
    ChartPage* chart_;
    RunComparison* comparison_;
    StartFirst startFirst_;
    QAction* item_ = nullptr;
    QLabel* legend_ = nullptr;
    QLabel* status_ = nullptr;
    QDialog* dialog_ = nullptr;
    RaceLanes lanes_;
    std::vector<Lane> others_;  // lanes 1.., each on its worker
    const SolutionList* first_ = nullptr;
    const AlgParameters& windowParams_;
    AlgParameters params_;  // the race's copy, for the runs table
    std::uint32_t seed_ = 0;
    std::shared_ptr<SolutionList> firstSolutions_;  // the first lane's, kept when the race ends
    std::shared_ptr<const GenerationStore> firstGenerations_;
    std::size_t firstNumber_ = 0;  // the first lane's run's number in the convergence plot
    std::size_t chosen_ = 0;
    ShowLane show_;
};

}  // namespace quarmel
