#pragma once

#include <QDockWidget>

#include <optional>
#include <string>
#include <vector>

#include "app/chartpage/KeptPaths.h"
#include "app/runs/RunRecords.h"
#include "model/Solution.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quarmel {

class ConvergencePlot;
class PlotPanel;

// The dock that compares runs: the convergence plot of the current run and the runs before it
// with its controls, Clear, an optional fixed seed for the next runs, and a table of the
// finished runs that can be copied.
class RunsDock : public QDockWidget {
    Q_OBJECT

  public:
    explicit RunsDock(QWidget* parent = nullptr);

    // Whether the user fixed the seed of the next runs, and the seed's text as typed.
    bool FixedSeedOn() const;
    std::string FixedSeedText() const;

    // The plot follows a run: its start, what it publishes, its end; a finished run, also one
    // the user stopped, then becomes a row of the runs table.
    void BeginRun(const std::string& label, const std::string& problem, bool maximize);
    void UpdateRun(const SolutionList& solutions,
                   const std::vector<unsigned long long>& evaluations,
                   const SolutionList& population);
    void EndRun(const RunRecord& run, const SolutionList& solutions);
    // Makes the plot's run of this number its current run.
    void SetCurrentRun(std::size_t number);
    // The best value the current problem can have, when known (the plot's distances).
    void SetKnownOptimum(std::optional<double> optimum);

    // Whether the kept runs' paths are shown on the chart.
    bool ShowPathsOnChart() const;
    const std::vector<RunRecord>& Runs() const { return runs_; }
    // The convergence plot, to paint it elsewhere.
    const ConvergencePlot& Plot() const { return *plot_; }
    // The plot's runs as the chart draws their paths again: none unless "Show paths on chart"
    // is checked.
    std::vector<KeptPath> ShownPaths() const;
    // Forgets the compared runs: the plot's curves and the table's rows.
    void ClearRuns();

  signals:
    // The paths ShownPaths gives changed: a run ended, was hidden, shown or forgotten, or the
    // check box changed.
    void ShownPathsChanged();

  private:
    // Puts the runs table on the clipboard as CSV.
    void CopyRuns() const;

    PlotPanel* panel_ = nullptr;
    ConvergencePlot* plot_ = nullptr;
    QPushButton* ButtonClearRuns = nullptr;
    QCheckBox* CheckBoxFixedSeed = nullptr;
    QLineEdit* EditSeed = nullptr;
    QTableWidget* TableRuns = nullptr;
    QPushButton* ButtonCopyRuns = nullptr;

    std::vector<RunRecord> runs_;
};

}  // namespace quarmel
