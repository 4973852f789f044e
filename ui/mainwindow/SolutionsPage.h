#pragma once

#include <QWidget>

#include <cstddef>
#include <optional>

#include "app/examples/ExampleCatalogue.h"
#include "app/runs/RunProgress.h"
#include "app/text/ResultLabels.h"
#include "model/Algparameters.h"
#include "model/Solution.h"
#include "ui/mainwindow/SolutionsTableView.h"

class QGroupBox;
class QLabel;

namespace quarmel {

class SolutionsTableModel;

// The Solutions page: the run's solutions, newest first, with the first and best values in two
// labels. It shows the window's problem and solution list, which it reads but never changes.
class SolutionsPage : public QWidget {
    Q_OBJECT

  public:
    SolutionsPage(QWidget* parent, const AlgParameters& problem, const SolutionList& solutions);

    // How the solution list changed since the page last showed it.
    void NoteChange(ListChange change);
    // Shows the solutions in the table and the first and best values in the labels ("-"
    // without solutions). Only what changed since the last fill is done again, so the user's
    // selection, current cell, scroll position and column widths stay.
    void FillSolutionsGrid();
    // Gives the table the page's size and a column each for the number, the variables and f.
    void LayoutSolutionsGrid();
    QTableView* Table() const { return StringGridSolutions; }
    // Selects the row of the solution at `index` of the list and scrolls to it; none clears
    // the selection.
    void SelectSolution(std::optional<std::size_t> index);
    void ApplyPaletteColours(const QColor& page);
    // The problem's known optimum (none when not known): the labels' hints tell each value's
    // distance to it.
    void SetKnownOptimum(const std::optional<ExampleProblem>& known);

  protected:
    // The groups follow the page's size, like anchored controls.
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ShowOptimumGaps();

    const AlgParameters& problem_;
    const SolutionList& solutions_;
    ListChange solutionsChange_ = ListChange::Replaced;
    bool labelsMaximize_ = false;  // the direction the best value was chosen in
    ResultLabels labels_;          // follows the list, reading only what is new
    std::optional<ExampleProblem> known_;

    QGroupBox* GroupBoxBeforeOpt = nullptr;
    QLabel* LabelBeforeOpt = nullptr;
    QGroupBox* GroupBoxAfterOpt = nullptr;
    QLabel* LabelAfterOpt = nullptr;
    SolutionsTableView* StringGridSolutions = nullptr;
    SolutionsTableModel* SolutionsModel = nullptr;  // what StringGridSolutions shows
};

}  // namespace quarmel
