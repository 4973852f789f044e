#pragma once

#include <QObject>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/chartpage/KeptPaths.h"
#include "app/examples/ExampleCatalogue.h"
#include "app/runs/RunRecords.h"
#include "app/runs/RunStatus.h"
#include "app/text/RunTexts.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

class QAction;
class QMenu;

namespace quarmel {

class ChartPage;
class OptimizationThread;
class RunsDock;
class ExperimentWindow;
class StatusLine;
class TFormMain;

// What the main window adds for comparing and keeping runs: the "Runs" menu (the convergence
// dock, the exports), the dock with the convergence plot and the runs table, and the status
// line's run progress (stage, progress bar, elapsed time, seed). The window tells it when a run
// starts, at every tick, and when the run ends.
class RunComparison : public QObject {
    Q_OBJECT

  public:
    explicit RunComparison(TFormMain* form);
    ~RunComparison() override;

    // The seed of the next run: the fixed one when the user set it, otherwise the clock's; a
    // fixed seed that is not a valid seed is refused.
    SeedChoice NextSeed() const;
    // The fixed seed the user set, or none when the seed is the clock's.
    std::optional<SeedChoice> FixedSeed() const;

    void RunStarted(AlgorithmKind kind, const AlgParameters& params, const std::string& problem,
                    std::uint32_t seed);
    // Takes in what the run published since the last tick, and where the annealing is.
    void Tick(const SolutionList& solutions, const SolutionList& population,
              const OptimizationThread* worker = nullptr);
    // Shows whether the run is paused and the time it has run, as the window's session says.
    void ShowSession();
    // Records the run in the runs table, also one the user stopped.
    void RunEnded(const SolutionList& solutions, unsigned long long evaluations, bool stopped);
    bool RunLive() const { return live_; }
    // Records a race's lane that ran beside the window's run, once that run has ended: in the
    // runs table and the plot like a run of its own.
    void LaneEnded(AlgorithmKind kind, const AlgParameters& params, std::uint32_t seed,
                   const OptimizationThread& worker, bool stopped);
    // How many runs the plot has begun (the newest run's number is one less), and makes the
    // plot's run of this number its current one (a race's lane chosen in its legend).
    std::size_t RunsBegun() const;
    void ChooseRun(std::size_t number);
    // The best value the current problem can have, when known: the plot's distances are
    // measured from it.
    void SetKnownOptimum(std::optional<double> optimum);

    // Hands the chart page the kept runs' paths whenever they change.
    void ShowPathsOn(ChartPage* chart);
    // The kept runs' paths the chart draws now.
    std::vector<KeptPath> ShownPaths() const;

    // Exports; each asks for a file and reports a failure in a message box.
    void ExportChartPng();
    void ExportPlotPng();
    void ExportPlotSvg();
    void ExportSolutionsCsv();
    void ExportRunsCsv();
    // Opens the experiment window (made at its first opening).
    void OpenExperiment();

    // An export with nothing to write is disabled: the chart before the Chart page holds one,
    // the plot without a run, the solutions without solutions, the runs table without a run.
    void UpdateExports();

    // Puts the selected cells of the Solutions table on the clipboard, tab-separated.
    void CopySelectedSolutions() const;

  protected:
    // Ctrl+C on the Solutions table copies the whole selection, not only the current cell.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The runs table's record of a run that has ended (known optimum and gap included).
    RunRecord Record(const SolutionList& solutions, unsigned long long evaluations,
                     const OptimizationThread* worker, bool stopped) const;
    // Widens the window by the dock's width when the dock is shown at its side, so the pages
    // keep their size, and narrows it again when the dock goes.
    void MakeRoomForDock(bool shown);

    // The dock and the Runs menu's items, under their given names.
    RunsDock* Dock = nullptr;
    QMenu* MenuRuns = nullptr;
    QAction* ConvergencePlot1 = nullptr;
    QAction* ExportChart1 = nullptr;
    QAction* ExportPlotPng1 = nullptr;
    QAction* ExportPlotSvg1 = nullptr;
    QAction* ExportSolutions1 = nullptr;
    QAction* ExportRuns1 = nullptr;
    QAction* ClearRuns1 = nullptr;
    QAction* Experiment1 = nullptr;
    ExperimentWindow* experiment_ = nullptr;
    std::unique_ptr<StatusLine> statusLine_;

    TFormMain* form_;
    bool live_ = false;
    AlgorithmKind kind_ = Greedy;
    AlgParameters params_;
    std::uint32_t seed_ = 0;
    std::string problem_;
    std::string problemFile_;              // the runs table's problem column
    std::optional<ExampleProblem> known_;  // the run's problem's known optimum
    RunStatus status_;
    int runsBegun_ = 0;  // numbers the runs in the plot's legend
    int grownBy_ = 0;    // how much wider the window was made for the dock
};

}  // namespace quarmel
