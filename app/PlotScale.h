#pragma once

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/Convergence.h"

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

// A mark on the value axis: its pixel row and its label.
struct ValueTick {
    double Y = 0;
    std::string Label;
};

// The box the curves are drawn in within `area`: room at the left for the value labels
// (`labelWidth` wide), and below for the step labels and the axis caption (a line each).
PlotBox CurveBox(const PlotBox& area, double labelWidth, double lineHeight);

// The convergence plot's scales in `box`: steps across, from 0 to the longest curve's last step;
// values up, from the lowest to the highest value of the curves and their population means. On
// the log scale values go up by their decimal logarithm and values not above zero are left out;
// values that are not numbers are always left out.
class PlotScale {
  public:
    PlotScale(bool logScale, const PlotBox& box) : log_(logScale), box_(box) {}

    // Widens the scales to take in a curve.
    void Fit(const ConvergenceCurve& curve);

    const PlotBox& Box() const { return box_; }
    double LastStep() const { return steps_; }
    // Whether any value of the fitted curves can be shown.
    bool HasValues() const { return low_ <= high_; }

    double X(double step) const { return box_.Left + box_.Width * step / steps_; }
    // The row of a value; nothing for a value left out.
    std::optional<double> Y(double value) const;

    // A curve as a line with at most one vertical stroke per pixel column: each column's lowest
    // and highest value, column by column. Its cost is set by the box's width, not by the
    // curve's length.
    std::vector<PlotPoint> Thinned(const std::vector<float>& values) const;
    // The population means as a line, one point per generation that has one.
    std::vector<PlotPoint> MeanLine(const std::vector<GenerationMean>& means) const;
    // Five marks from the lowest value to the highest, evenly apart on the scale, labelled with
    // four significant digits.
    std::vector<ValueTick> Ticks() const;

  private:
    std::optional<double> Scaled(double value) const;
    double Row(double scaled) const;

    bool log_;
    PlotBox box_;
    double steps_ = 1;
    double low_ = std::numeric_limits<double>::infinity();
    double high_ = -std::numeric_limits<double>::infinity();
};

}  // namespace quarmel
