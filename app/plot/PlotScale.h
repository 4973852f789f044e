#pragma once

#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/plot/Convergence.h"

namespace quarmel {

// A rectangle in the painter's pixels.
struct PlotBox {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    double Right() const { return Left + Width; }
    double Bottom() const { return Top + Height; }
};

struct PlotPoint {
    double X = 0;
    double Y = 0;
};

// A mark on an axis: its pixel column (x axis) or row (value axis), and its label.
struct AxisTick {
    double At = 0;
    std::string Label;
};

// The box the curves are drawn in within `area`: room at the left for the value labels
// (`labelWidth` wide), `linesAbove` lines above (the value axis's caption) and `linesBelow`
// below (the x axis's labels, its caption, the notes).
PlotBox CurveBox(const PlotBox& area, double labelWidth, double lineHeight, int linesAbove,
                 int linesBelow);

// How the x axis counts a run's progress.
enum class PlotX { LogEvaluations, Evaluations, Steps };
// What the value axis shows: the value, or how far it is from the best value known.
enum class PlotY { Value, Distance };

// The plot's choices, and what the distance is measured from: the best value known for the
// problem (a known optimum, or the best any run found) in the problem's direction.
struct PlotAxes {
    PlotX X = PlotX::LogEvaluations;
    PlotY Y = PlotY::Value;
    bool LogY = false;
    bool Maximize = false;
    std::optional<double> BestKnown;
    bool BestIsOptimum = false;  // the best known is a known optimum, not a run's best
};

// The part of the fitted ranges in view, as fractions of them (0 to 1 across and up).
struct PlotView {
    double Left = 0;
    double Right = 1;
    double Bottom = 0;
    double Top = 1;
    bool Whole() const { return Left <= 0 && Right >= 1 && Bottom <= 0 && Top >= 1; }
    // The part of this view from fractions x0 to x1 across and y0 to y1 up (either order),
    // kept within the whole; a part too thin to see leaves the view as it is.
    PlotView Part(double x0, double x1, double y0, double y1) const;
    // This view scaled by `factor` (below 1 zooms in) about the point at fractions (x, y) of it.
    PlotView Zoomed(double x, double y, double factor) const;
};

// The convergence plot's scales in `box`: a run's progress across (evaluations, their decimal
// logarithm, or steps), values up, over the ranges of the fitted curves and their population
// means, and of those the part in `view`.
//
// Up go the values or their distance to the best known value (0 at the best, never below: a
// value beyond a known optimum counts as reaching it). On the log scale a distance of 0 sits on
// the box's bottom edge, below every other; values not above zero are shown on a symmetric log
// scale, linear within the smallest decade of the values. Values that are not numbers are left
// out and counted.
class PlotScale {
  public:
    PlotScale(const PlotAxes& axes, const PlotBox& box, const PlotView& view = {})
        : axes_(axes), box_(box), view_(view) {}

    // Widens the scales to take in a curve.
    void Fit(const ConvergenceCurve& curve);

    const PlotBox& Box() const { return box_; }
    // Moves the scales to another box (the fitted ranges stay).
    void Place(const PlotBox& box) { box_ = box; }
    // Whether any value of the fitted curves can be shown.
    bool HasValues() const { return lowMeasure_ <= highMeasure_; }

    // The column of a curve's point; the row of a value, nothing for a value left out.
    double X(const ConvergenceCurve& curve, std::size_t i) const;
    std::optional<double> Y(double value) const;
    // The fractions of the view (0 to 1 across and up) at a pixel of the box.
    PlotPoint Fractions(const PlotPoint& pixel) const;

    // A curve's values (or best so far) as a line with at most one vertical stroke per pixel
    // column: each column's lowest and highest row, column by column. Its cost is set by the
    // curve's length and the box's width, not by how far the view is zoomed.
    std::vector<PlotPoint> Thinned(const ConvergenceCurve& curve, bool bestSoFar) const;
    // The best so far as steps: level from one published point to the next, then straight up
    // or down to the new best, at most one step per pixel column. A run with one point gives
    // two equal points, which the plot marks.
    std::vector<PlotPoint> BestSteps(const ConvergenceCurve& curve) const;
    // The population means as a line, one point per generation that has one.
    std::vector<PlotPoint> MeanLine(const ConvergenceCurve& curve) const;
    // Where the best so far first reaches a distance of 0 on the log scale (on the bottom edge).
    std::optional<PlotPoint> FloorMark(const ConvergenceCurve& curve) const;

    // Marks at round values in view (PlotTicks: 1-2-5 steps, powers of ten on a log scale),
    // labelled with the values (not their logarithms) in one number style.
    std::vector<AxisTick> ValueTicks() const;
    std::vector<AxisTick> XTicks() const;
    // What the axes show, in words: "evaluations (log)", "distance to best known 1,5 (log)".
    std::string XCaption() const;
    std::string YCaption() const;
    // What the reader must be told of values not drawn as they are: those at the bottom edge,
    // those left out.
    std::vector<std::string> Notes() const;

  private:
    double Measure(double value) const;
    std::optional<double> Scaled(double value) const;
    std::optional<double> ScaledMeasure(double measure) const;
    std::pair<double, double> XRange() const;
    double Inverse(double scaled) const;
    double XScaled(const ConvergenceCurve& curve, std::size_t i) const;
    double Column(double scaled) const;
    double Row(double scaled) const;
    void Settle();
    bool FloorAtBottom() const { return axes_.Y == PlotY::Distance && axes_.LogY; }

    PlotAxes axes_;
    PlotBox box_;
    PlotView view_;
    static constexpr double kNone = std::numeric_limits<double>::infinity();
    // The fitted measures (values or distances), raw.
    double lowMeasure_ = kNone;
    double highMeasure_ = -kNone;
    double smallestNonZero_ = kNone;  // of their sizes
    std::size_t atFloor_ = 0;
    std::size_t leftOut_ = 0;
    // The fitted ranges, scaled.
    double lowX_ = kNone;
    double highX_ = -kNone;
    double low_ = 0;
    double high_ = 0;
    bool symmetricLog_ = false;
    double linearWithin_ = 1;  // the symmetric log scale's linear part
};

}  // namespace quarmel
