#include "app/PlotScale.h"

#include <algorithm>
#include <cmath>

#include "app/NumberText.h"

namespace quarmel {

PlotBox CurveBox(const PlotBox& area, double labelWidth, double lineHeight) {
    const double left = labelWidth + 8;
    return {area.Left + left, area.Top + 8, area.Width - left - 12,
            area.Height - 8 - 2 * lineHeight - 8};
}

std::optional<double> PlotScale::Scaled(double value) const {
    if (!std::isfinite(value)) return std::nullopt;
    if (!log_) return value;
    if (value <= 0) return std::nullopt;
    return std::log10(value);
}

double PlotScale::Row(double scaled) const {
    const double span = high_ - low_;
    // A single value sits in the middle.
    const double t = span > 0 ? (scaled - low_) / span : 0.5;
    return box_.Bottom() - box_.Height * t;
}

void PlotScale::Fit(const ConvergenceCurve& curve) {
    steps_ = std::max(steps_, static_cast<double>(curve.Count()) - 1);
    auto take = [this](double value) {
        if (const auto s = Scaled(value)) {
            low_ = std::min(low_, *s);
            high_ = std::max(high_, *s);
        }
    };
    for (float v : curve.Values()) take(v);
    for (const GenerationMean& g : curve.Means()) take(g.Mean);
}

std::optional<double> PlotScale::Y(double value) const {
    const auto s = Scaled(value);
    if (!s) return std::nullopt;
    return Row(*s);
}

std::vector<PlotPoint> PlotScale::Thinned(const std::vector<float>& values) const {
    std::vector<PlotPoint> points;
    int column = std::numeric_limits<int>::min();
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    auto flush = [&] {
        if (low > high) return;
        points.push_back({static_cast<double>(column), Row(low)});
        points.push_back({static_cast<double>(column), Row(high)});
        low = std::numeric_limits<double>::infinity();
        high = -std::numeric_limits<double>::infinity();
    };
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int c = static_cast<int>(std::lround(X(static_cast<double>(i))));
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

std::vector<PlotPoint> PlotScale::MeanLine(const std::vector<GenerationMean>& means) const {
    std::vector<PlotPoint> points;
    for (const GenerationMean& g : means) {
        if (const auto y = Y(g.Mean)) points.push_back({X(static_cast<double>(g.Generation)), *y});
    }
    return points;
}

std::vector<ValueTick> PlotScale::Ticks() const {
    std::vector<ValueTick> ticks;
    if (!HasValues()) return ticks;
    for (int i = 0; i <= 4; ++i) {
        const double s = low_ + (high_ - low_) * i / 4.0;
        ticks.push_back({Row(s), GeneralText(log_ ? std::pow(10.0, s) : s, 4)});
    }
    return ticks;
}

}  // namespace quarmel
