#pragma once

#include <QColor>
#include <QPoint>
#include <QWidget>

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/plot/Convergence.h"
#include "app/plot/PlotScale.h"

class QPainter;
class QRubberBand;

namespace quarmel {

// One run in the convergence plot: its label, colour, problem and curve, whether the user
// stopped it and whether the plot hides it; once it has ended, its solutions, so the chart can
// draw its path again (the plot keeps at most kKeptRuns). Its number counts the runs begun
// before it, and gives its colour (RunColour).
struct PlottedRun {
    std::string Label;
    QColor Colour;
    std::string Problem;  // ProblemKey of the run's problem
    ConvergenceCurve Curve;
    bool Stopped = false;
    bool Hidden = false;
    std::shared_ptr<const SolutionList> Path;
    std::size_t Number = 0;
};

// The convergence plot: the value of each published solution and the best so far against the
// evaluations (or the step), with the genetic population's mean, for the current run and the
// runs before it, each in a colour of its own. One run is current, the newest unless another is
// chosen: its curve is drawn over the others and a replay's cursor stands on it. Only the runs of
// the newest run's problem are drawn. Painted with QPainter, so it can also be painted into an
// image or an SVG file. Long curves are drawn as one vertical stroke per pixel column, so a repaint
// costs the same however many solutions a run has published. The wheel zooms about the pointer, a
// dragged rectangle zooms to it, a double click shows everything again.
class ConvergencePlot : public QWidget {
    Q_OBJECT

  public:
    // How many runs the plot keeps; the oldest goes when another begins.
    static constexpr int kKeptRuns = 10;

    explicit ConvergencePlot(QWidget* parent = nullptr);

    // Starts the curve of a new run of the problem `problem` (a ProblemKey); it is current.
    void BeginRun(const std::string& label, const std::string& problem, bool maximize);
    // Takes in what the current run has published since the last call, with the evaluations
    // made by each new solution's publishing (from the first the curve lacks on) and, for the
    // genetic algorithm, the population's mean; repaints only when something is new.
    void UpdateRun(const SolutionList& solutions,
                   const std::vector<unsigned long long>& evaluations,
                   const SolutionList& population);
    // The current run has ended, by itself or stopped by the user, with these solutions.
    void EndRun(bool stopped, std::shared_ptr<const SolutionList> path = nullptr);
    // Forgets every run but the one going on.
    void Clear();
    // How many solutions the current run's curve holds.
    std::size_t CurrentCount() const;

    void SetXAxis(PlotX axis);
    void SetDistance(bool on);
    void SetLogScale(bool on);
    bool LogScale() const { return axes_.LogY; }
    // The best value this problem can have, when it is known: the distance is measured from it
    // rather than from the best the kept runs found.
    void SetKnownOptimum(std::optional<double> optimum);
    void SetRunHidden(std::size_t run, bool hidden);
    void ResetZoom();
    // The part of the runs' ranges in view.
    const PlotView& View() const { return view_; }

    const std::deque<PlottedRun>& Runs() const { return runs_; }
    // Whether a run is of another problem than the newest run, so not drawn.
    bool OtherProblem(const PlottedRun& run) const;
    // A run's line in a legend: its label, marked when it was stopped or is of another problem.
    std::string LegendText(const PlottedRun& run) const;

    // How many runs have begun: the next run's number.
    std::size_t RunsBegun() const { return runsBegun_; }
    // Makes the kept run of this number the current one (the newest when it is not kept).
    void SetCurrentRun(std::size_t number);
    // The current run, or null without runs.
    const PlottedRun* CurrentRun() const;
    // A vertical line at a step of the current run's curve (a replay's step), or none.
    void SetCursor(std::optional<std::size_t> step);

    // Paints the plot into `area` of any paint device; with `legend`, a legend of the drawn runs
    // at the right (the window shows its own beside the plot).
    void Paint(QPainter& painter, const QRect& area, bool legend = true) const;

    QSize sizeHint() const override { return {380, 300}; }

  signals:
    // A run was added, ended, hidden or shown, or runs were forgotten.
    void RunsChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // The axes as chosen, with the best value known for the newest run's problem.
    PlotAxes Axes() const;
    bool Drawn(const PlottedRun& run) const { return !run.Hidden && !OtherProblem(run); }
    // Changes the axes' choices, showing everything again.
    void ChangeAxes(const PlotAxes& axes);
    // The fractions of the view at a pixel of the plot as last painted.
    PlotPoint ViewFractions(const QPoint& pixel) const;

    std::deque<PlottedRun> runs_;
    std::size_t runsBegun_ = 0;
    std::optional<std::size_t> chosen_;  // the current run's number, when not the newest
    bool live_ = false;
    PlotAxes axes_;
    std::optional<double> knownOptimum_;
    PlotView view_;
    mutable PlotBox shownBox_;  // where the curves were last painted on screen
    QRubberBand* band_ = nullptr;
    QPoint bandStart_;
    std::optional<std::size_t> cursor_;
};

}  // namespace quarmel
