#include "app/plot/PlotScale.h"

#include <algorithm>
#include <cmath>

#include "app/plot/PlotTicks.h"
#include "app/text/NumberText.h"

namespace quarmel {

namespace {

// Fractions of a part too thin to show apart from a line.
constexpr double kThinnest = 1e-9;

std::string Counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

PlotBox CurveBox(const PlotBox& area, double labelWidth, double lineHeight, int linesAbove,
                 int linesBelow) {
    const double left = labelWidth + 8;
    const double above = 8 + linesAbove * lineHeight;
    return {area.Left + left, area.Top + above, area.Width - left - 12,
            area.Height - above - linesBelow * lineHeight - 8};
}

PlotView PlotView::Part(double x0, double x1, double y0, double y1) const {
    auto whole = [](double from, double to, double f) {
        return std::clamp(from + (to - from) * f, 0.0, 1.0);
    };
    PlotView part{whole(Left, Right, std::min(x0, x1)), whole(Left, Right, std::max(x0, x1)),
                  whole(Bottom, Top, std::min(y0, y1)), whole(Bottom, Top, std::max(y0, y1))};
    // Also a part of fractions that are not numbers.
    if (!(part.Right - part.Left >= kThinnest && part.Top - part.Bottom >= kThinnest)) return *this;
    return part;
}

PlotView PlotView::Zoomed(double x, double y, double factor) const {
    return Part(x - x * factor, x + (1 - x) * factor, y - y * factor, y + (1 - y) * factor);
}

double PlotScale::Measure(double value) const {
    if (axes_.Y == PlotY::Value) return value;
    if (!axes_.BestKnown) return std::nan("");
    const double d = axes_.Maximize ? *axes_.BestKnown - value : value - *axes_.BestKnown;
    return d < 0 ? 0.0 : d;  // not a number stays one
}

std::optional<double> PlotScale::Scaled(double value) const {
    return ScaledMeasure(Measure(value));
}

std::optional<double> PlotScale::ScaledMeasure(double m) const {
    if (!std::isfinite(m)) return std::nullopt;
    if (!axes_.LogY) return m;
    if (axes_.Y == PlotY::Distance) return m > 0 ? std::log10(m) : -kNone;
    if (symmetricLog_) return std::copysign(std::log10(1 + std::fabs(m) / linearWithin_), m);
    if (m <= 0) return std::nullopt;
    return std::log10(m);
}

double PlotScale::Inverse(double scaled) const {
    if (!axes_.LogY) return scaled;
    if (symmetricLog_) {
        return std::copysign(linearWithin_ * (std::pow(10.0, std::fabs(scaled)) - 1), scaled);
    }
    return std::pow(10.0, scaled);
}

void PlotScale::Fit(const ConvergenceCurve& curve) {
    // Without a best known value there is no distance to leave out.
    if (axes_.Y == PlotY::Distance && !axes_.BestKnown) return;
    auto take = [this](double value) {
        const double m = Measure(value);
        if (!std::isfinite(m)) {
            ++leftOut_;
            return;
        }
        lowMeasure_ = std::min(lowMeasure_, m);
        highMeasure_ = std::max(highMeasure_, m);
        if (m != 0) smallestNonZero_ = std::min(smallestNonZero_, std::fabs(m));
        if (m == 0 && FloorAtBottom()) ++atFloor_;
    };
    for (float v : curve.Values()) take(v);
    for (const GenerationMean& g : curve.Means()) take(g.Mean);
    if (curve.Count() > 0) {
        lowX_ = std::min(lowX_, XScaled(curve, 0));
        highX_ = std::max(highX_, XScaled(curve, curve.Count() - 1));
    }
    Settle();
}

void PlotScale::Settle() {
    symmetricLog_ = axes_.LogY && axes_.Y == PlotY::Value && lowMeasure_ <= 0;
    const bool nonZero = std::isfinite(smallestNonZero_);
    linearWithin_ = nonZero ? std::pow(10.0, std::floor(std::log10(smallestNonZero_))) : 1.0;
    if (!HasValues()) return;
    if (!FloorAtBottom()) {
        low_ = *ScaledMeasure(lowMeasure_);
        high_ = *ScaledMeasure(highMeasure_);
        return;
    }
    // The log of the distances above 0 (a decade when there are none); the bottom edge, where
    // the distances of 0 sit, a little below.
    low_ = nonZero ? std::log10(smallestNonZero_) : -1.0;
    high_ = nonZero ? std::log10(highMeasure_) : 0.0;
    if (atFloor_ > 0) low_ -= 0.1 * (high_ > low_ ? high_ - low_ : 1.0);
}

double PlotScale::XScaled(const ConvergenceCurve& curve, std::size_t i) const {
    switch (axes_.X) {
        case PlotX::Steps:
            return static_cast<double>(i);
        case PlotX::Evaluations:
            return static_cast<double>(curve.Evaluations()[i]);
        case PlotX::LogEvaluations:
            break;
    }
    // A step published before any evaluation sits with the first one.
    return std::log10(static_cast<double>(std::max(curve.Evaluations()[i], 1ULL)));
}

std::pair<double, double> PlotScale::XRange() const {
    if (lowX_ > highX_) return {0.0, 1.0};
    // Counts from 0, their logarithms from the decade below the first.
    const double from = axes_.X == PlotX::LogEvaluations ? std::floor(lowX_) : 0.0;
    return {from, highX_ > from ? highX_ : from + 1};
}

double PlotScale::Column(double scaled) const {
    const auto [from, to] = XRange();
    const double f = (scaled - from) / (to - from);
    return box_.Left + box_.Width * (f - view_.Left) / (view_.Right - view_.Left);
}

double PlotScale::Row(double scaled) const {
    if (scaled == -kNone) return box_.Bottom();
    const double span = high_ - low_;
    // A single value sits in the middle.
    const double f = span > 0 ? (scaled - low_) / span : 0.5;
    return box_.Bottom() - box_.Height * (f - view_.Bottom) / (view_.Top - view_.Bottom);
}

double PlotScale::X(const ConvergenceCurve& curve, std::size_t i) const {
    return Column(XScaled(curve, i));
}

std::optional<double> PlotScale::Y(double value) const {
    const auto s = Scaled(value);
    if (!s) return std::nullopt;
    return Row(*s);
}

PlotPoint PlotScale::Fractions(const PlotPoint& pixel) const {
    return {(pixel.X - box_.Left) / box_.Width, (box_.Bottom() - pixel.Y) / box_.Height};
}

std::vector<PlotPoint> PlotScale::Thinned(const ConvergenceCurve& curve, bool bestSoFar) const {
    const std::vector<float>& values = bestSoFar ? curve.BestSoFar() : curve.Values();
    std::vector<PlotPoint> points;
    // Columns out of view are drawn on the box's edges, where the painter's clip cuts them.
    const double first = std::floor(box_.Left) - 2, last = std::ceil(box_.Right()) + 2;
    long column = std::numeric_limits<long>::min();
    double low = kNone;
    double high = -kNone;
    auto flush = [&] {
        if (low > high) return;
        points.push_back({static_cast<double>(column), Row(low)});
        points.push_back({static_cast<double>(column), Row(high)});
        low = kNone;
        high = -kNone;
    };
    for (std::size_t i = 0; i < values.size(); ++i) {
        const long c = std::lround(std::clamp(X(curve, i), first, last));
        if (c != column) {
            flush();
            column = c;
        }
        if (const auto s = Scaled(values[i])) {
            low = std::min(low, *s);
            high = std::max(high, *s);
        }
    }
    flush();
    return points;
}

std::vector<PlotPoint> PlotScale::BestSteps(const ConvergenceCurve& curve) const {
    const std::vector<float>& best = curve.BestSoFar();
    std::vector<PlotPoint> points;
    const double first = std::floor(box_.Left) - 2, last = std::ceil(box_.Right()) + 2;
    double column = -kNone;
    for (std::size_t i = 0; i < best.size(); ++i) {
        const auto s = Scaled(best[i]);
        if (!s) continue;
        const double c = static_cast<double>(std::lround(std::clamp(X(curve, i), first, last)));
        const double row = Row(*s);
        if (c == column) {
            // The best so far only improves, so the column's stroke runs to its latest value.
            points.back().Y = row;
            continue;
        }
        // Level at the best held until this column, then to the new one.
        points.push_back({c, points.empty() ? row : points.back().Y});
        points.push_back({c, row});
        column = c;
    }
    return points;
}

std::vector<PlotPoint> PlotScale::MeanLine(const ConvergenceCurve& curve) const {
    std::vector<PlotPoint> points;
    for (const GenerationMean& g : curve.Means()) {
        if (const auto y = Y(g.Mean)) points.push_back({X(curve, g.Generation), *y});
    }
    return points;
}

std::optional<PlotPoint> PlotScale::FloorMark(const ConvergenceCurve& curve) const {
    if (!FloorAtBottom()) return std::nullopt;
    const std::vector<float>& best = curve.BestSoFar();
    for (std::size_t i = 0; i < best.size(); ++i) {
        if (Scaled(best[i]) == -kNone) return PlotPoint{X(curve, i), box_.Bottom()};
    }
    return std::nullopt;
}

namespace {

// At most this many marks on the value axis and across.
constexpr int kMostValueTicks = 6;
constexpr int kMostXTicks = 8;
constexpr double kEndSlack = 1e-9;

// Round values from lo to hi (both above 0) on a log axis; within a decade, where no power or
// its doubles and fives fall, the round values of a linear axis.
std::vector<double> LogOrNiceTicks(double lo, double hi, int most) {
    std::vector<double> ticks = LogTicks(lo, hi, most);
    if (ticks.size() < 2) ticks = NiceTicks(lo, hi, most);
    return ticks;
}

}  // namespace

std::vector<AxisTick> PlotScale::ValueTicks() const {
    if (!HasValues()) return {};
    std::vector<double> values;
    if (high_ <= low_) {
        values = {Inverse(low_)};
    } else {
        // A hair wider, so that a round value at an end is not lost to rounding.
        const double a = low_ + (high_ - low_) * (view_.Bottom - kEndSlack);
        const double b = low_ + (high_ - low_) * (view_.Top + kEndSlack);
        if (!axes_.LogY) {
            values = NiceTicks(a, b, kMostValueTicks);
        } else if (symmetricLog_) {
            values = SymmetricLogTicks(Inverse(a), Inverse(b), linearWithin_, kMostValueTicks);
        } else {
            values = LogOrNiceTicks(Inverse(a), Inverse(b), kMostValueTicks);
        }
    }
    const std::vector<std::string> labels = TickLabels(values);
    std::vector<AxisTick> ticks;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (const auto s = ScaledMeasure(values[i])) ticks.push_back({Row(*s), labels[i]});
    }
    return ticks;
}

std::vector<AxisTick> PlotScale::XTicks() const {
    const auto [from, to] = XRange();
    const double a = from + (to - from) * (view_.Left - kEndSlack);
    const double b = from + (to - from) * (view_.Right + kEndSlack);
    const bool log = axes_.X == PlotX::LogEvaluations;
    const std::vector<double> values =
        log ? LogOrNiceTicks(std::pow(10.0, a), std::pow(10.0, b), kMostXTicks)
            : NiceTicks(a, b, kMostXTicks);
    const std::vector<std::string> labels = TickLabels(values);
    std::vector<AxisTick> ticks;
    for (std::size_t i = 0; i < values.size(); ++i) {
        ticks.push_back({Column(log ? std::log10(values[i]) : values[i]), labels[i]});
    }
    return ticks;
}

std::string PlotScale::XCaption() const {
    switch (axes_.X) {
        case PlotX::LogEvaluations:
            return "evaluations (log)";
        case PlotX::Evaluations:
            return "evaluations";
        case PlotX::Steps:
            break;
    }
    return "step / generation";
}

std::string PlotScale::YCaption() const {
    if (axes_.Y == PlotY::Value) {
        if (!axes_.LogY) return "value";
        if (!symmetricLog_) return "value (log)";
        return "value (symmetric log, linear within \u00b1" + GeneralText(linearWithin_, 4) + ")";
    }
    const std::string from = axes_.BestIsOptimum ? "known optimum" : "best known";
    if (!axes_.BestKnown) return "distance to " + from + " (none yet)";
    return "distance to " + from + " " + GeneralText(*axes_.BestKnown, 7) +
           (axes_.LogY ? " (log)" : "");
}

std::vector<std::string> PlotScale::Notes() const {
    std::vector<std::string> notes;
    if (atFloor_ > 0) {
        notes.push_back(Counted(atFloor_, "value", "values") +
                        " at distance 0, drawn on the bottom edge (\u25bc)");
    }
    if (leftOut_ > 0) {
        notes.push_back(Counted(leftOut_, "value is not a number", "values are not numbers") +
                        ", left out");
    }
    return notes;
}

}  // namespace quarmel
