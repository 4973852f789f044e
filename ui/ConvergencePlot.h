#pragma once

#include <QColor>
#include <QWidget>

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "app/Convergence.h"

class QPainter;

namespace quarmel {

// One run in the convergence plot: its label, colour and curve.
struct PlottedRun {
    std::string Label;
    QColor Colour;
    ConvergenceCurve Curve;
};

// The convergence plot: the value of each published solution and the best so far against the
// step (or generation), with the genetic population's mean, for the current run and the runs
// before it, each in a colour of its own. Painted with QPainter, so it can also be painted into
// an image or an SVG file. Long curves are drawn as one vertical stroke per pixel column, so a
// repaint costs the same however many solutions a run has published.
class ConvergencePlot : public QWidget {
    Q_OBJECT

  public:
    // How many runs the plot keeps; the oldest goes when another begins.
    static constexpr int kKeptRuns = 10;

    explicit ConvergencePlot(QWidget* parent = nullptr);

    // Starts the curve of a new run.
    void BeginRun(const std::string& label, bool maximize);
    // Takes in what the current run has published since the last call (and, for the genetic
    // algorithm, the population's mean); repaints only when something is new.
    void UpdateRun(const SolutionList& solutions, const SolutionList& population);
    // The current run has ended.
    void EndRun() { live_ = false; }
    // Forgets every run but the one going on.
    void Clear();

    void SetLogScale(bool on);
    bool LogScale() const { return logScale_; }

    const std::deque<PlottedRun>& Runs() const { return runs_; }

    // A vertical line at a step of the curves (a replay's step), or none.
    void SetCursor(std::optional<std::size_t> step);

    // Paints the plot into `area` of any paint device.
    void Paint(QPainter& painter, const QRect& area) const;

    QSize sizeHint() const override { return {520, 320}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::deque<PlottedRun> runs_;
    int coloursUsed_ = 0;
    bool logScale_ = false;
    bool live_ = false;
    std::optional<std::size_t> cursor_;
};

}  // namespace quarmel
