#include "ui/ConvergencePlot.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "app/NumberText.h"

namespace quarmel {

namespace {

// Ten colours that stay apart on light and dark backgrounds.
const QColor kColours[] = {QColor(31, 119, 180),  QColor(255, 127, 14),  QColor(44, 160, 44),
                           QColor(214, 39, 40),   QColor(148, 103, 189), QColor(140, 86, 75),
                           QColor(227, 119, 194), QColor(127, 127, 127), QColor(188, 189, 34),
                           QColor(23, 190, 207)};

// A value as the plot's vertical axis takes it; nothing for values it cannot show.
std::optional<double> AxisValue(double v, bool log) {
    if (!std::isfinite(v)) return std::nullopt;
    if (!log) return v;
    if (v <= 0) return std::nullopt;
    return std::log10(v);
}

struct Range {
    double Low = std::numeric_limits<double>::infinity();
    double High = -std::numeric_limits<double>::infinity();
    void Take(double v) {
        Low = std::min(Low, v);
        High = std::max(High, v);
    }
    bool Empty() const { return Low > High; }
};

// Maps steps and values to pixels.
struct Mapping {
    QRectF Box;
    double Steps = 1;
    Range Values;
    double X(double step) const { return Box.left() + Box.width() * step / Steps; }
    double Y(double value) const {
        const double span = Values.High - Values.Low;
        const double t = span > 0 ? (value - Values.Low) / span : 0.5;
        return Box.bottom() - Box.height() * t;
    }
};

// A curve as a path with at most one vertical stroke per pixel column: each column's lowest
// and highest value, joined in order.
QPainterPath CurvePath(const std::vector<float>& values, const Mapping& m, bool log) {
    QPainterPath path;
    bool started = false;
    int column = std::numeric_limits<int>::min();
    Range inColumn;
    auto flush = [&] {
        if (inColumn.Empty()) return;
        const double x = column;
        for (double v : {inColumn.Low, inColumn.High}) {
            const QPointF p(x, m.Y(v));
            if (started) {
                path.lineTo(p);
            } else {
                path.moveTo(p);
                started = true;
            }
        }
        inColumn = Range();
    };
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<double> v = AxisValue(values[i], log);
        const int c = static_cast<int>(std::lround(m.X(static_cast<double>(i))));
        if (c != column) {
            flush();
            column = c;
        }
        if (v) inColumn.Take(*v);
    }
    flush();
    return path;
}

QString AxisLabel(double v, bool log) {
    return QString::fromStdString(GeneralText(log ? std::pow(10.0, v) : v, 4));
}

}  // namespace

ConvergencePlot::ConvergencePlot(QWidget* parent) : QWidget(parent) {
    setObjectName("ConvergencePlot");
    setAccessibleName("Convergence plot");
    setMinimumSize(240, 160);
}

void ConvergencePlot::BeginRun(const std::string& label, bool maximize) {
    while (runs_.size() >= static_cast<std::size_t>(kKeptRuns)) runs_.pop_front();
    runs_.push_back(
        {label, kColours[coloursUsed_++ % std::size(kColours)], ConvergenceCurve(maximize)});
    live_ = true;
    update();
}

void ConvergencePlot::UpdateRun(const SolutionList& solutions, const SolutionList& population) {
    if (runs_.empty()) return;
    ConvergenceCurve& curve = runs_.back().Curve;
    const bool added = curve.Update(solutions) > 0;
    const bool mean = curve.AddPopulationMean(population);
    if (added || mean) update();
}

void ConvergencePlot::Clear() {
    const std::size_t keep = live_ ? 1 : 0;
    if (runs_.size() <= keep) return;
    runs_.erase(runs_.begin(), runs_.end() - static_cast<long>(keep));
    update();
}

void ConvergencePlot::SetLogScale(bool on) {
    if (on == logScale_) return;
    logScale_ = on;
    update();
}

void ConvergencePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter, rect());
}

void ConvergencePlot::Paint(QPainter& painter, const QRect& area) const {
    const QColor text = palette().color(QPalette::Text);
    const QColor base = palette().color(QPalette::Base);
    painter.fillRect(area, base);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetrics fm = painter.fontMetrics();

    Mapping m;
    for (const PlottedRun& run : runs_) {
        m.Steps = std::max(m.Steps, static_cast<double>(run.Curve.Count()) - 1);
        for (float v : run.Curve.Values()) {
            if (auto a = AxisValue(v, logScale_)) m.Values.Take(*a);
        }
        for (const GenerationMean& g : run.Curve.Means()) {
            if (auto a = AxisValue(g.Mean, logScale_)) m.Values.Take(*a);
        }
    }
    const int left = fm.horizontalAdvance("-0,0000E-00") + 8;
    m.Box = QRectF(area.left() + left, area.top() + 8, area.width() - left - 12,
                   area.height() - 8 - 2 * fm.height() - 8);
    painter.setPen(text);
    painter.drawRect(m.Box);
    const QString xCaption = "step / generation";
    painter.drawText(
        QRectF(m.Box.left(), m.Box.bottom() + fm.height() + 2, m.Box.width(), fm.height()),
        Qt::AlignHCenter, xCaption);
    painter.drawText(QPointF(m.Box.left(), m.Box.bottom() + fm.height()), "0");
    const QString last = QString::number(static_cast<long long>(m.Steps));
    painter.drawText(
        QPointF(m.Box.right() - fm.horizontalAdvance(last), m.Box.bottom() + fm.height()), last);
    if (m.Values.Empty()) {
        painter.drawText(m.Box, Qt::AlignCenter,
                         runs_.empty() ? "No runs yet" : "No values to show on this scale");
        return;
    }
    for (int i = 0; i <= 4; ++i) {
        const double v = m.Values.Low + (m.Values.High - m.Values.Low) * i / 4.0;
        const double y = m.Y(v);
        painter.drawLine(QPointF(m.Box.left() - 4, y), QPointF(m.Box.left(), y));
        const QString label = AxisLabel(v, logScale_);
        painter.drawText(
            QPointF(m.Box.left() - 6 - fm.horizontalAdvance(label), y + fm.ascent() / 2.0), label);
    }

    painter.save();
    painter.setClipRect(m.Box.adjusted(-1, -1, 1, 1));
    for (const PlottedRun& run : runs_) {
        QColor faint = run.Colour;
        faint.setAlpha(90);
        painter.setPen(QPen(faint, 1));
        painter.drawPath(CurvePath(run.Curve.Values(), m, logScale_));
        painter.setPen(QPen(run.Colour, 2));
        painter.drawPath(CurvePath(run.Curve.BestSoFar(), m, logScale_));
        if (!run.Curve.Means().empty()) {
            QPainterPath means;
            bool started = false;
            for (const GenerationMean& g : run.Curve.Means()) {
                const auto a = AxisValue(g.Mean, logScale_);
                if (!a) continue;
                const QPointF p(m.X(static_cast<double>(g.Generation)), m.Y(*a));
                if (started) {
                    means.lineTo(p);
                } else {
                    means.moveTo(p);
                    started = true;
                }
            }
            painter.setPen(QPen(run.Colour, 1, Qt::DashLine));
            painter.drawPath(means);
        }
    }
    painter.restore();

    // The legend, newest run last.
    double y = m.Box.top() + 4;
    for (const PlottedRun& run : runs_) {
        const QString label = QString::fromStdString(run.Label);
        const double x = m.Box.right() - fm.horizontalAdvance(label) - 26;
        painter.setPen(QPen(run.Colour, 2));
        painter.drawLine(QPointF(x, y + fm.height() / 2.0), QPointF(x + 16, y + fm.height() / 2.0));
        painter.setPen(text);
        painter.drawText(QPointF(x + 20, y + fm.ascent()), label);
        y += fm.height();
    }
}

}  // namespace quarmel
